#include "Errors/ErrorLog.h"

#include <iostream>
#include <mutex>

#include "Platform/Clock.h"
#include "Text/ConsoleText.h"

namespace Kvetra {

Platform::TCriticalSection g_LogLock(4000);

namespace {

// Adapts g_LogLock to std::lock_guard, so that every writer releases it on every path.
struct TLogLockHolder {
    void lock() { g_LogLock.Enter(); }
    void unlock() { g_LogLock.Leave(); }
};

void EndLine() {
    std::cout << std::endl;
}

}  // namespace

void WriteTimestamp() {
    ConsoleWrite(std::cout, CurrentTimeText());
    ConsoleWrite(std::cout, " ");
}

std::wstring CurrentTimeText() {
    wchar_t buffer[10] = {};
    if (!Platform::FormatLocalTimeOfDay(buffer, std::size(buffer))) {
        return L"??:??:??";
    }
    buffer[std::size(buffer) - 1] = L'\0';
    return buffer;
}

void LogAplException(const char* sourceFile, int sourceLine, const char* message) {
    TLogLockHolder holder;
    std::lock_guard guard(holder);
    WriteTimestamp();
    ConsoleWrite(std::cout, "Kvetra::TAplThrowException ");
    ConsoleWrite(std::cout, sourceFile);
    ConsoleWrite(std::cout, ", ");
    std::cout << sourceLine;
    ConsoleWrite(std::cout, ":\n\t");
    ConsoleWrite(std::cout, message);
    ConsoleWrite(std::cout, "\n");
    EndLine();
}

void LogStdException(const char* text) {
    TLogLockHolder holder;
    std::lock_guard guard(holder);
    WriteTimestamp();
    ConsoleWrite(std::cout, "std::exception: ");
    ConsoleWrite(std::cout, text);
    EndLine();
}

void LogUnknownException() {
    TLogLockHolder holder;
    std::lock_guard guard(holder);
    WriteTimestamp();
    ConsoleWrite(std::cout, "<UNKNOWN_EXCEPTION>");
    EndLine();
}

}  // namespace Kvetra
