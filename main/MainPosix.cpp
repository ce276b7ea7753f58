// Entry point on POSIX systems: the arguments arrive as bytes and are handed to the driver as wide
// strings, with bytes that are not valid UTF-8 kept exactly (see Platform/NativeNames.h).
#include <string>
#include <vector>

#include "Driver.h"
#include "Platform/NativeNames.h"

int main(int argc, char* argv[]) {
    std::vector<std::wstring> arguments;
    arguments.reserve(static_cast<std::size_t>(argc));
    for (int i = 0; i < argc; ++i) {
        arguments.push_back(Kvetra::Platform::NativeToWide(argv[i]));
    }
    std::vector<const wchar_t*> pointers;
    pointers.reserve(arguments.size());
    for (const std::wstring& argument : arguments) {
        pointers.push_back(argument.c_str());
    }
    return Vantorel::WideMain(argc, pointers.data());
}
