// Names and one-line explanations of host error codes, the add-on API's and the input/output
// layer's. Every text is a constant that lives for the whole process.
#ifndef VELMORA_GSERRORCODES_HPP
#define VELMORA_GSERRORCODES_HPP

// The APIERR_ or file-system name of a code; for another input/output code its group name
// ("FileErrors", ...); else "UNKNOWN???".
const char* GetGSErrName(int code);
// One sentence about the code; for another input/output code "Unknown <group>"; else
// "This error code is not in the collection". Never empty.
const char* GetGSErrDetail(int code);

// The short table of add-on API names (the one ErrID_To_Name reads): its name, or null.
const char* GetAPIErrShortName(int code);

#endif
