// What the login and support commands share: read "url.txt" and open one of its addresses.
#ifndef VELMORA_WEBCOMMAND_HPP
#define VELMORA_WEBCOMMAND_HPP

#include "Classes/url_ini.hpp"

// Reads "url.txt" anew and opens its field with the browser (an empty field is passed on as
// it stands). When the file cannot be read, reports errorPrefix and the reason, opens nothing.
void OpenUrlField(char (url_ini::*field)[UrlIniFieldSize], const char* errorPrefix);

#endif
