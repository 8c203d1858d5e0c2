// Basic host types: fixed-width integers and the host error code.
#ifndef VHOST_DEFINITIONS_HPP
#define VHOST_DEFINITIONS_HPP

#include <cstddef>
#include <cstdint>

using Int8 = std::int8_t;
using UInt8 = std::uint8_t;
using Int16 = std::int16_t;
using UInt16 = std::uint16_t;
using Int32 = std::int32_t;
using UInt32 = std::uint32_t;
using Int64 = std::int64_t;
using UInt64 = std::uint64_t;
using USize = std::size_t;
using GSFlags = UInt32;
using GSType = UInt32;
using GSResID = Int16;
using GSErrCode = Int32;
using GSPtr = char*;
using GSConstPtr = const char*;
using GSHandle = char**;
using GSConstHandle = const char* const*;

// The host's own error codes (framework level). The add-on API codes are in APIdefs_Errors.h.
constexpr GSErrCode NoError = 0;
constexpr GSErrCode Error = -1;              // generic failure
constexpr GSErrCode ErrParam = -2;           // bad parameter
constexpr GSErrCode ErrMemoryFull = -3;      // out of memory
constexpr GSErrCode ErrNilHandle = -5;       // null or unknown handle
constexpr GSErrCode ErrEndOfFile = -39;      // read reached the end of the file

// Input/output layer codes: 0x8101 GGNN, GG the group (location, file, folder, file system, ...).
constexpr GSErrCode IOCode(UInt32 group, UInt32 n) { return static_cast<GSErrCode>(0x81010000u + (group << 8) + n); }
constexpr GSErrCode ErrLocation = IOCode(0, 1);       // malformed location or name
constexpr GSErrCode ErrFileNotFound = IOCode(1, 0);   // "FileNotFound"
constexpr GSErrCode ErrNotAFile = IOCode(1, 1);       // "NotAFile"
constexpr GSErrCode ErrAccessDenied = IOCode(1, 2);   // "AccessDenied"
constexpr GSErrCode ErrCreation = IOCode(1, 3);       // "CreationError"
constexpr GSErrCode ErrNoMoreOSFile = IOCode(1, 4);   // "NoMoreOSFile"
constexpr GSErrCode ErrIllegalPosition = IOCode(1, 5);// "IllegalPosition"
constexpr GSErrCode ErrIO = IOCode(1, 16);            // a read or write the system refused
constexpr GSErrCode ErrNotOpen = IOCode(1, 17);       // the file is not open
constexpr GSErrCode ErrFolderNotFound = IOCode(2, 1); // no folder at the location
constexpr GSErrCode ErrFolderExists = IOCode(2, 2);
constexpr GSErrCode ErrFileSystem = IOCode(3, 1);     // a whole-file operation failed
constexpr GSErrCode ErrTargetExists = IOCode(3, 2);
constexpr GSErrCode ErrNotInitialized = IOCode(3, 3); // IO::Init was not called

namespace GS {
using UniChar = char16_t;
}

#endif
