// The host's debug log and system beep.
#ifndef VHOST_GSDEBUG_HPP
#define VHOST_GSDEBUG_HPP

void DBPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
void GSSysBeep();

#endif
