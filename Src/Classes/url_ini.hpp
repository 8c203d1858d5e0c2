// The web addresses of "url.txt" beside the add-on.
#ifndef VELMORA_URL_INI_HPP
#define VELMORA_URL_INI_HPP

#include "Classes/MiniIni.hpp"

constexpr unsigned int UrlIniRecordCount = 40;
constexpr unsigned int UrlIniFieldSize = MiniIniValueSize + 1;

// One object per command; it holds a 64 MiB file buffer, so it is made on the heap.
class url_ini {
public:
	url_ini();
	// Reads "url.txt" beside the add-on. On false `error` holds "url_ini::init() / " and the
	// record-file reason. A key that is missing leaves its field empty.
	bool init();

	mini_ini_config_struc records[UrlIniRecordCount];
	char file_buffer[MiniIniFileBufferSize];
	char record_error[MiniIniErrorSize];
	char error[MiniIniErrorSize];
	char open_main[UrlIniFieldSize];
	char help_userguide_file_name[UrlIniFieldSize];
	char help_youtube_videos[UrlIniFieldSize];
	char help_terrain_data_web_url[UrlIniFieldSize];
	char support_main[UrlIniFieldSize];
};

#endif
