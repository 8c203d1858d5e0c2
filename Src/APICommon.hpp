// Reports to the user (the host's report window) and to the debug log, and the short table of
// add-on API error names.
#ifndef VELMORA_APICOMMON_HPP
#define VELMORA_APICOMMON_HPP

// The APIERR_ name of an add-on API code, "???" for any other code (also 0). A constant text.
const char* ErrID_To_Name(int code);

// Formats printf-style and writes the text to the report window with an alert.
void WriteReport_Alert(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Writes prefix followed by text to the report window with an alert. Neither is read as a
// format: a "%" in an error text is printed as it stands. A null text counts as empty.
void WriteReport_AlertPrefixed(const char* prefix, const char* text);
// Formats printf-style into 512 bytes (longer texts are cut at 511) and writes it, then a line
// end, to the debug log. Every "%" of the result is printed once.
void WriteReport(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Writes "text: NAME" (NAME from ErrID_To_Name) to the report window with an alert. text is
// printed as it stands.
void WriteReport_Err(const char* text, int code);
// Writes a line end, then "OK" for code 0 or "Error: NAME", to the debug log.
void WriteReport_End(int code);
// Writes "text: NAME" to the debug log (no line end) and sounds the system beep.
void ErrorBeep(const char* text, int code);

#endif
