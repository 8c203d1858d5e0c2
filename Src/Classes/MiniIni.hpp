// Record files: a run of records "[" key "=" value "]". The reader ignores whatever lies
// outside records; the writer puts CR LF after each record.
#ifndef VELMORA_MINIINI_HPP
#define VELMORA_MINIINI_HPP

#include "UniString.hpp"

constexpr unsigned int MiniIniKeySize = 256;      // key: 1..255 bytes and a zero byte
constexpr unsigned int MiniIniValueSize = 1792;   // value: 1..1791 bytes and a zero byte
constexpr unsigned int MiniIniErrorSize = 8192;   // every caller's error text buffer
constexpr unsigned int MiniIniFileBufferSize = 67108864; // 64 MiB: the largest file read

// One record; an empty key (first byte zero) marks a free record.
struct mini_ini_config_struc {
	char key[MiniIniKeySize];
	char value[MiniIniValueSize];
};

// Formats printf-style into an error text buffer of MiniIniErrorSize bytes (cut to fit).
void SetErrorText(char* error, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Reads the record file `name` into `records` (at most `recordCount`, which must be at
// least 1), through `buffer` of `bufferSize` bytes. With fullPath the name is a full path,
// else a file name beside the add-on. All records are cleared first; records whose key or
// value is empty or too long are skipped. Answers false on a file error, with the reason in
// `error` (MiniIniErrorSize bytes); a file that ends inside a record is no error.
bool MiniIniConfigRead(const GS::UniString& name, bool fullPath, mini_ini_config_struc* records, unsigned int recordCount,
                       char* buffer, unsigned int bufferSize, char* error);

// Composes every record with a non-empty key, in order, into `buffer` (the text must stay
// shorter than `bufferSize`) and writes it as the whole content of the file. The file is
// replaced only once the new content is complete on disk: a failure leaves the old file as
// it was. The content goes first into a new file of a name of its own beside the target,
// so nothing that stands there (a link, a folder) is written through or deleted; a symbolic
// link at the target itself is replaced by the file, and its target is left as it was.
// Answers false with the reason in `error`.
bool MiniIniConfigWrite(const GS::UniString& name, bool fullPath, mini_ini_config_struc* records, unsigned int recordCount,
                        char* buffer, unsigned int bufferSize, char* error);

#endif
