#include "VolumeParser.h"

#include <cstddef>
#include <sstream>

#include "Base/CheckedArithmetic.h"
#include "Errors/Exceptions.h"
#include "Platform/CodePage.h"
#include "SizeUnits.h"
#include "Text/ConsoleText.h"

namespace Vantorel {
namespace {

std::wstring LowerCased(std::wstring text) {
    Kvetra::Platform::CharLowerBuffW(text.data(), text.size());
    return text;
}

[[noreturn]] void RaiseConversionError(const std::wstring& argument) {
    std::wostringstream message;
    message << L"Ошибка при преобразовании параметра '" << argument << L"' в число";
    Kvetra::RaiseAplError(message.str());
}

[[noreturn]] void RaiseUnitError(const std::wstring& argument) {
    std::wostringstream message;
    message << L"Ошибка при определении единиц измерения параметра '" << argument << L"'";
    Kvetra::RaiseAplError(message.str());
}

}  // namespace

const wchar_t* ReadInteger(const wchar_t* first, const wchar_t* last, std::int64_t& value) {
    value = 0;
    const wchar_t* p = first;
    while (p != last && (*p == L'\t' || *p == L' ')) {
        ++p;
    }
    if (p == last) {
        return first;
    }
    const bool negative = *p == L'-';
    if (negative || *p == L'+') {
        ++p;
    }
    // Accumulate towards the sign of the result, so that the most negative value is reachable.
    std::int64_t accumulated = 0;
    const wchar_t* digits = p;
    for (; p != last && *p >= L'0' && *p <= L'9'; ++p) {
        const auto digit = static_cast<std::int64_t>(*p - L'0');
        if (!Kvetra::CheckedMul<std::int64_t>(accumulated, 10, &accumulated) ||
            !Kvetra::CheckedAdd<std::int64_t>(accumulated, negative ? -digit : digit,
                                              &accumulated)) {
            return first;
        }
    }
    if (p == digits) {
        return first;
    }
    value = accumulated;
    return p;
}

std::int64_t ParseVolume(const std::wstring& argument) {
    const wchar_t* const begin = argument.data();
    const wchar_t* const end = begin + argument.size();
    std::int64_t value = 0;
    const wchar_t* p = ReadInteger(begin, end, value);
    if (p == begin) {
        RaiseConversionError(argument);
    }
    while (p != end && *p == L' ') {
        ++p;
    }
    if (p == end) {
        return value;
    }
    // Each unit is 1024 times the one before it: "b" is bytes, "kb" 1024 bytes, and so on.
    const std::wstring suffix = LowerCased(std::wstring(p, end));
    for (std::size_t unit = 0; unit < g_SizeUnits.size(); ++unit) {
        if (suffix == LowerCased(Kvetra::AnsiToWide(g_SizeUnits[unit]))) {
            for (std::size_t step = 0; step < unit; ++step) {
                if (!Kvetra::CheckedMul<std::int64_t>(value, 1024, &value)) {
                    RaiseConversionError(argument);
                }
            }
            return value;
        }
    }
    RaiseUnitError(argument);
}

}  // namespace Vantorel
