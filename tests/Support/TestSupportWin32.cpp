#include <windows.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "Support/TestSupport.h"

namespace VantorelTest {

const char* const kTimeOfDayPattern = R"(\d?\d:\d\d:\d\d)";
const char kSeparator = '\\';

namespace {

// Decodes one UTF-8 sequence at text[i], advancing i. Test texts are well-formed.
char32_t NextCodePoint(const std::string& text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) {
        return lead;
    }
    const int rest = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
    char32_t value = lead & (0x3F >> rest);
    for (int k = 0; k < rest; ++k) {
        if (i >= text.size()) {
            throw std::invalid_argument("truncated UTF-8 in a test text");
        }
        value = (value << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
    }
    return value;
}

}  // namespace

// Code page 866: А..п at 0x80..0xAF, р..я at 0xE0..0xEF, Ё 0xF0, ё 0xF1, the no-break space 0xFF.
std::string Console(const std::string& utf8) {
    std::string oem;
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t c = NextCodePoint(utf8, i);
        if (c < 0x80) {
            oem += static_cast<char>(c);
        } else if (c >= 0x0410 && c <= 0x043F) {
            oem += static_cast<char>(0x80 + (c - 0x0410));
        } else if (c >= 0x0440 && c <= 0x044F) {
            oem += static_cast<char>(0xE0 + (c - 0x0440));
        } else if (c == 0x0401) {
            oem += '\xF0';
        } else if (c == 0x0451) {
            oem += '\xF1';
        } else if (c == 0x00A0) {
            oem += '\xFF';
        } else {
            throw std::invalid_argument("no code page 866 form known to the tests");
        }
    }
    return oem;
}

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) {
        return L"";
    }
    const int n = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                        static_cast<int>(utf8.size()), nullptr, 0);
    if (n <= 0) {
        throw std::invalid_argument("a test text that is not UTF-8");
    }
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

std::string Utf8(const std::wstring& wide) {
    if (wide.empty()) {
        return "";
    }
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                        nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n,
                          nullptr, nullptr);
    return utf8;
}

namespace {

std::filesystem::path Below(const std::string& root, const std::string& relative) {
    std::filesystem::path path = std::filesystem::path(Wide(root)) / Wide(relative);
    return path.make_preferred();
}

}  // namespace

TTempDir::TTempDir(const std::string& base) {
    static std::atomic<unsigned> counter{0};
    const std::filesystem::path parent =
        base.empty() ? std::filesystem::temp_directory_path() : std::filesystem::path(Wide(base));
    for (;;) {
        const std::filesystem::path candidate =
            parent / (L"vantorel-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                      std::to_wstring(counter++));
        if (std::filesystem::create_directory(candidate)) {
            Root = Utf8(candidate.wstring());
            return;
        }
    }
}

TTempDir::~TTempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(Wide(Root), ignored);
}

std::string TTempDir::MakeDir(const std::string& relative) const {
    const std::filesystem::path path = Below(Root, relative);
    std::filesystem::create_directories(path);
    return Utf8(path.wstring());
}

std::string TTempDir::MakeFile(const std::string& relative, long long size) const {
    const std::filesystem::path path = Below(Root, relative);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path).close();
    std::filesystem::resize_file(path, static_cast<std::uintmax_t>(size));
    return Utf8(path.wstring());
}

}  // namespace VantorelTest
