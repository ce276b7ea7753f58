#include "Errors/Exceptions.h"

#include "Text/ConsoleText.h"

namespace Kvetra {

TAplThrowException::TAplThrowException(const char* message, const char* sourceFile, int sourceLine)
    : Message(message), File(sourceFile), Line(sourceLine) {}

const char* TAplThrowException::what() const noexcept {
    return Message.c_str();
}

const char* TSilentException::what() const noexcept {
    return "Kvetra::TSilentException";
}

void RaiseAplError(const std::wstring& message, std::source_location where) {
    const std::string ansi = WideToAnsi(message);
    throw TAplThrowException(ansi.c_str(), where.file_name(), static_cast<int>(where.line()));
}

}  // namespace Kvetra
