// The exception types of the support library.
#pragma once

#include <exception>
#include <source_location>
#include <string>

namespace Kvetra {

// A failure to report: a narrow message in the ANSI code page, with the source file and line of the
// statement that raised it. The source file is relative to the source root, the same on every
// machine that builds the program.
class TAplThrowException : public std::exception {
  public:
    TAplThrowException(const char* message, const char* sourceFile, int sourceLine);

    const char* what() const noexcept override;
    const std::string& SourceFile() const noexcept { return File; }
    int SourceLine() const noexcept { return Line; }

  private:
    std::string Message;
    std::string File;
    int Line;
};

// Ends a run without any error record.
class TSilentException : public std::exception {
  public:
    const char* what() const noexcept override;
};

// Raises a TAplThrowException whose message is the wide text converted to the ANSI code page, so
// characters the code page lacks are already replaced. The location defaults to the caller's.
[[noreturn]] void RaiseAplError(const std::wstring& message,
                                std::source_location where = std::source_location::current());

}  // namespace Kvetra
