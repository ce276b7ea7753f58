// UTF-8 with escaped bytes: a strict decoder (no overlong forms, no surrogates, nothing above
// U+10FFFF), so that every byte sequence has exactly one wide form and converts back unchanged.
#include "Platform/NativeNames.h"

namespace Kvetra::Platform {
namespace {

wchar_t EscapeByte(unsigned char byte) {
    return static_cast<wchar_t>(kFirstEscapedByte + (byte - 0x80));
}

// Length of the valid UTF-8 sequence at s[0..n), with its code point in *cp; 0 when the bytes there
// do not start a valid sequence.
std::size_t DecodeOne(const unsigned char* s, std::size_t n, char32_t* cp) {
    const unsigned char b0 = s[0];
    std::size_t length;
    char32_t value;
    char32_t minimum;
    if (b0 < 0x80) {
        *cp = b0;
        return 1;
    } else if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2, value = b0 & 0x1F, minimum = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3, value = b0 & 0x0F, minimum = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4, value = b0 & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (n < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((s[i] & 0xC0) != 0x80) {
            return 0;
        }
        value = (value << 6) | (s[i] & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return 0;
    }
    *cp = value;
    return length;
}

}  // namespace

void AppendNativeAsWide(std::string_view native, std::wstring& wide) {
    wide.reserve(wide.size() + native.size());
    const auto* bytes = reinterpret_cast<const unsigned char*>(native.data());
    std::size_t i = 0;
    while (i < native.size()) {
        char32_t cp = 0;
        const std::size_t length = DecodeOne(bytes + i, native.size() - i, &cp);
        if (length == 0) {
            wide += EscapeByte(bytes[i]);
            ++i;
        } else {
            wide += static_cast<wchar_t>(cp);
            i += length;
        }
    }
}

std::wstring NativeToWide(std::string_view native) {
    std::wstring wide;
    AppendNativeAsWide(native, wide);
    return wide;
}

std::string WideToNative(std::wstring_view wide) {
    std::string native;
    native.reserve(wide.size());
    for (const wchar_t ch : wide) {
        const auto c = static_cast<char32_t>(ch);
        if (c >= static_cast<char32_t>(kFirstEscapedByte) &&
            c <= static_cast<char32_t>(kLastEscapedByte)) {
            native += static_cast<char>(0x80 + (c - kFirstEscapedByte));
        } else if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
            native += '?';
        } else {
            AppendUtf8(native, c);
        }
    }
    return native;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace Kvetra::Platform
