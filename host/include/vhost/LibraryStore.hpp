// The library store's own formats and its part of the project dump.
//
// A part file (".gsm" here) is text of ours:
//   VHOST-LIBPART 1
//   name "Velmora_Building"          texts in double quotes with \" \\ \n escapes
//   type 4
//   ownUnID "{...}-{...}"
//   parentUnID "{...}-{...}"
//   template 0
//   placeable 1
//   section 3DSC 0                   a section: type code and sub-identity
//   | first line of the section      every byte line-prefixed with "| " (or "|" when empty)
//   | second line
//   end                              add "noeol" after the sub-identity when the bytes do
//                                    not end with a line feed
// The parameter section's bytes are JSON (see EncodeParamSection).
#ifndef VHOST_LIBRARYSTORE_HPP
#define VHOST_LIBRARYSTORE_HPP

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "APIdefs_LibraryParts.h"
#include "vhost/JsonWriter.hpp"
#include "vhost/Project.hpp"

namespace vhost {

constexpr const char* kLibPartExtension = ".gsm";
// The most bytes of a part's file name, extension included: a longer name is refused
// (APIERR_BADNAME) as the file systems of the host's platforms would refuse the file.
constexpr std::size_t kLongestFileName = 255;

std::string FormatLibPartFile(const LibraryPartRecord& part);
// Parses a part file; on failure answers false with "line N: why".
bool ParseLibPartFile(const std::string& text, LibraryPartRecord& part, std::string& error);

// "PARD" and the like; any other value as 8 hex digits.
std::string SectionCodeName(UInt32 type);
bool SectionCodeFromName(const std::string& name, UInt32& type);

// The parameter section: A, B, details and the records, as JSON text.
struct ParamSection {
	double a = 0.0;
	double b = 0.0;
	API_LibPartDetails details = {};
	std::vector<API_AddParType> records; // arrays hold handles owned by whoever holds this
};

// Checks the records (names, kinds, array sizes) and encodes them; APIERR_BADPARS with
// the reason when a record is malformed.
GSErrCode EncodeParamSection(const ParamSection& section, std::string& bytes, std::string& why);
// Decodes into records with freshly allocated array handles (freed by the caller, also on
// failure none is left). Never trusts a count or a size in the bytes.
GSErrCode DecodeParamSection(const std::string& bytes, ParamSection& section, std::string& why);
// Frees the array handles of the records in place (it allocates nothing, so a release can
// use it).
void FreeParamArrays(API_AddParType* records, std::size_t count) noexcept;
void FreeParamArrays(std::vector<API_AddParType>& records);
// The parameters as JSON for the dump (the decoded section, or null when it does not decode).
nlohmann::ordered_json ParamSectionJson(const std::string& bytes);
// The parameter list of a placed object's section: its "parameters", or the whole decoded
// value when it has none.
nlohmann::ordered_json ParamListJson(const std::string& bytes);
// The same two, streamed into a writer without building the document.
void WriteParamSection(JsonWriter& out, const std::string& bytes);
void WriteParamList(JsonWriter& out, const std::string& bytes);
// The "parameters" of a section, one "\nname = value" each (a table as "[N values]"); empty
// when the bytes do not decode.
std::string ParamLines(const std::string& bytes);

// The store, with the embedded library loaded on first use.
LibraryStore& Library();
// The part of an index that is not gone, or null.
LibraryPartRecord* PartByIndex(Int32 index);
// Whether the file lies inside a loaded library folder.
bool IsInLoadedLibrary(const std::string& file);

// Writes the members "libraries" and "libraryParts" of the project dump.
void DumpLibraries(JsonWriter& out);
// Makes DIR/library (there even without parts; the dump gives it a fresh DIR, so nothing of
// an earlier run stays) and writes DIR/library/<part>/ for every part: its scripts as text files ("master.gdl",
// "2d.gdl", "3d.gdl", "parameter-script.gdl"), "parameters.json", other sections by code.
bool WriteLibraryParts(const std::string& dir);

} // namespace vhost

#endif
