// The error log: one time-stamped record on the console for each failure that ends a run.
//
// Each writer holds g_LogLock from the first character of its record to the flush of its last line,
// so records never interleave, and releases it on every path. A writer that fails leaves what it
// had written and lets the exception pass.
#pragma once

#include <string>

#include "Platform/Lock.h"

namespace Kvetra {

// Serialises the writers of the error log; lives from static initialisation to process exit.
extern Platform::TCriticalSection g_LogLock;

// "<time> Kvetra::TAplThrowException <file>, <line>:", then a tab and the message, then an empty
// line.
void LogAplException(const char* sourceFile, int sourceLine, const char* message);

// "<time> std::exception: <text>", one line, whatever the actual type of the standard family.
void LogStdException(const char* text);

// "<time> <UNKNOWN_EXCEPTION>", one line.
void LogUnknownException();

// Writes the time text and one blank to the console; no line end.
void WriteTimestamp();

// The local time of day on the 24-hour clock, at most 9 characters. When the time cannot be had it
// is "??:??:??", so a record is still written in full.
std::wstring CurrentTimeText();

}  // namespace Kvetra
