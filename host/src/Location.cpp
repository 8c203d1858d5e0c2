#include "Location.hpp"
#include "vhost/Project.hpp"
#include "vhost/Text.hpp"

namespace IO {

const GS::UniString& Name::ToString() const
{
	if (vhost::FaultsArmed()) vhost::FaultFor("IO::Name::ToString", vhost::ToUtf8(name_));
	return name_;
}

GS::UniString Name::GetExtension() const
{
	const USize dot = name_.FindLast(u'.');
	if (dot == GS::UniString::MaxLength || dot == 0) return GS::UniString();
	return name_.GetSubstring(dot + 1, name_.GetLength());
}

void Name::DeleteExtension()
{
	const USize dot = name_.FindLast(u'.');
	if (dot != GS::UniString::MaxLength && dot != 0) name_.Truncate(dot);
}

bool Name::IsLegal() const
{
	if (name_.IsEmpty() || name_ == "." || name_ == "..") return false;
	for (const GS::UniChar unit : vhost::Units(name_))
		if (unit == u'/' || unit == 0) return false;
	return true;
}

void Name::MakeLegal()
{
	if (name_.IsEmpty() || name_ == "." || name_ == "..") {
		name_ = GS::UniString("_");
		return;
	}
	GS::UniString legal;
	for (const GS::UniChar unit : vhost::Units(name_)) legal.Append(unit == u'/' || unit == 0 ? GS::UniChar(u'_') : unit);
	name_ = legal;
}

Location::Location(const GS::UniString& path) : path_(vhost::ToUtf8(path))
{
	while (path_.size() > 1 && path_.back() == '/') path_.pop_back();
}

GSErrCode Location::AppendToLocal(const Name& name)
{
	const GS::UniString& n = name.ToString();
	const bool dotName = n == "." || n == "..";
	if (path_.empty() || n.IsEmpty() || (dotName && !vhost::Current().appendTakesDotNames) || n.Contains(u'/')) return ErrLocation;
	if (path_.back() != '/') path_ += '/';
	path_ += vhost::ToUtf8(n);
	return NoError;
}

GSErrCode Location::DeleteLastLocalName()
{
	const auto slash = path_.rfind('/');
	if (path_.empty() || path_ == "/" || slash == std::string::npos) return ErrLocation;
	path_.erase(slash == 0 ? 1 : slash);
	return NoError;
}

GSErrCode Location::GetLastLocalName(Name* name) const
{
	const auto slash = path_.rfind('/');
	if (path_.empty() || path_ == "/" || name == nullptr) return ErrLocation;
	*name = Name(GS::UniString(path_.substr(slash == std::string::npos ? 0 : slash + 1)));
	return NoError;
}

GSErrCode Location::SetLastLocalName(const Name& name)
{
	const GSErrCode err = DeleteLastLocalName();
	return err != NoError ? err : AppendToLocal(name);
}

GSErrCode Location::ToDisplayText(GS::UniString* text) const
{
	if (text == nullptr) return ErrParam;
	*text = GS::UniString(path_);
	return NoError;
}

GS::UniString Location::ToDisplayText() const { return GS::UniString(path_); }

} // namespace IO
