// IO::Location and IO::Name: file-system locations. A location holds an absolute path.
#ifndef VHOST_LOCATION_HPP
#define VHOST_LOCATION_HPP

#include <string>

#include "Definitions.hpp"
#include "UniString.hpp"

namespace IO {

// One path component (a file or folder name).
class Name {
public:
	Name() = default;
	Name(const char* utf8) : name_(utf8) {}
	Name(const GS::UniString& name) : name_(name) {}
	// A throwing fault "IO::Name::ToString" on the name's text makes it throw, as a host out
	// of memory may.
	const GS::UniString& ToString() const;
	GS::UniString GetExtension() const;   // without the dot; empty when none
	void DeleteExtension();
	// A legal name is not empty, not "." or "..", and holds no "/" and no zero unit.
	bool IsLegal() const;
	// Makes the name legal: "/" and zero units become "_", and an empty, "." or ".." name "_".
	void MakeLegal();
	bool IsEmpty() const { return name_.IsEmpty(); }
	bool operator==(const Name& o) const { return name_ == o.name_; }

private:
	GS::UniString name_;
};

class Location {
public:
	Location() = default;
	// From a path text; a relative path is taken as it stands.
	explicit Location(const GS::UniString& path);
	explicit Location(const char* utf8Path) : Location(GS::UniString(utf8Path)) {}

	// Appends a name. Fails (ErrParam) on an empty location or a name that is empty,
	// ".", ".." or contains "/".
	GSErrCode AppendToLocal(const Name& name);
	// Removes the last name; fails on an empty location or the root.
	GSErrCode DeleteLastLocalName();
	GSErrCode GetLastLocalName(Name* name) const;
	GSErrCode SetLastLocalName(const Name& name);

	// The path as shown to the user (the POSIX path here).
	GSErrCode ToDisplayText(GS::UniString* text) const;
	GS::UniString ToDisplayText() const;
	GSErrCode ToPath(GS::UniString* text) const { return ToDisplayText(text); }

	bool IsEmpty() const { return path_.empty(); }
	bool operator==(const Location& o) const { return path_ == o.path_; }
	bool operator!=(const Location& o) const { return path_ != o.path_; }
	bool operator<(const Location& o) const { return path_ < o.path_; }

private:
	std::string path_;
};

} // namespace IO

#endif
