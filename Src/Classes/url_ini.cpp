#include "url_ini.hpp"

#include <cstdio>
#include <cstring>

namespace {

// The keys of "url.txt" and the fields they fill.
const struct {
	const char* key;
	char (url_ini::*field)[UrlIniFieldSize];
} kUrlFields[] = {
	{"open_main", &url_ini::open_main},
	{"help_userguide_file_name", &url_ini::help_userguide_file_name},
	{"help_youtube_videos", &url_ini::help_youtube_videos},
	{"help_terrain_data_web_url", &url_ini::help_terrain_data_web_url},
	{"support_main", &url_ini::support_main},
};

char* Field(url_ini& u, const char* key)
{
	for (const auto& f : kUrlFields)
		if (std::strcmp(key, f.key) == 0) return u.*f.field;
	return nullptr;
}

} // namespace

url_ini::url_ini()
{
	for (auto& r : records) r.key[0] = r.value[0] = 0;
	record_error[0] = error[0] = 0;
	open_main[0] = help_userguide_file_name[0] = help_youtube_videos[0] = help_terrain_data_web_url[0] = support_main[0] = 0;
}

bool url_ini::init()
{
	error[0] = 0;
	if (!MiniIniConfigRead("url.txt", false, records, UrlIniRecordCount, file_buffer, MiniIniFileBufferSize, record_error)) {
		SetErrorText(error, "url_ini::init() / %s", record_error);
		return false;
	}
	for (const auto& r : records) {
		if (r.key[0] == 0) break;
		char* field = Field(*this, r.key);
		if (field == nullptr) continue;
		char word[UrlIniFieldSize];
		// The first word of the value; a value without one leaves the field as it was.
		if (std::sscanf(r.value, "%1792s", word) == 1) std::memcpy(field, word, std::strlen(word) + 1);
	}
	return true;
}
