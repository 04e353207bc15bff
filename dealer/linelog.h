// The server's log: every line, from whichever thread, with the time it was written. The
// tables' threads and the file writers log side by side, so each line is put out whole by
// one write of the C library (which takes the stream's lock for it) and nothing is shared
// between the writers but the stream.
#pragma once

#include <cstdio>

#include <QtGlobal>

// Sends every log line of the process to out, one line per message, each as
// "HH:mm:ss.zzz text". Returns the handler that was installed before.
QtMessageHandler InstallLineLog(std::FILE* out);
