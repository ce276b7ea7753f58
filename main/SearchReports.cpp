#include "SearchReports.h"

#include <algorithm>
#include <iostream>
#include <stdexcept>
#include <string>

#include "Base/CheckedArithmetic.h"
#include "SizeFormatter.h"
#include "Text/ConsoleText.h"

namespace Vantorel {
namespace {

constexpr char kHyphenLine[] =
    "-------------------------------------------------------------------------------\n";

// C0 controls, DEL and C1 controls: a terminal acts on them instead of showing them. A file name
// on Linux may hold any of them (a newline would split one name into two lines of a report, an
// escape sequence could rewrite the screen); names from Windows never do.
bool IsControl(wchar_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// Writes an item's name to the console with every control character shown as '?'. Names without
// one, nearly all of them, are written as they are, without a copy.
void WriteItemName(const std::wstring& name) {
    if (std::none_of(name.begin(), name.end(), IsControl)) {
        Kvetra::ConsoleWrite(std::cout, name);
        return;
    }
    std::wstring shown = name;
    std::replace_if(shown.begin(), shown.end(), IsControl, L'?');
    Kvetra::ConsoleWrite(std::cout, shown);
}

}  // namespace

void ReportOversized(const std::vector<TItem>& items, std::int64_t volume) {
    bool any = false;
    for (const TItem& item : items) {
        if (item.Size <= volume) {
            continue;
        }
        std::int64_t excess = 0;
        if (!Kvetra::CheckedSub(item.Size, volume, &excess)) {
            throw std::overflow_error("the excess of an oversized item does not fit in 64 bits");
        }
        if (!any) {
            Kvetra::ConsoleWrite(std::cout, "\n");
            Kvetra::ConsoleWrite(std::cout, kHyphenLine);
            Kvetra::ConsoleWrite(
                std::cout, "Обнаружены файлы/каталоги которые не поместятся в заданный объём:");
            std::cout << std::endl;
            any = true;
        }
        WriteItemName(item.Name);
        Kvetra::ConsoleWrite(std::cout, "\t");
        WriteSize(std::cout, excess);
        std::cout << std::endl;
    }
    if (any) {
        Kvetra::ConsoleWrite(std::cout, kHyphenLine);
    }
}

void PrintSolution(std::int64_t remainder, const TSelection& selection,
                   const std::vector<TItem>& items) {
    std::int64_t total = 0;
    for (const std::size_t position : selection) {
        if (!Kvetra::CheckedAdd(total, items[position].Size, &total)) {
            throw std::overflow_error("the total of a combination does not fit in 64 bits");
        }
    }

    Kvetra::ConsoleWrite(std::cout, "\n----- Найдено частное решение -----");
    std::cout << std::endl;
    Kvetra::ConsoleWrite(std::cout, "Осталось не использованно: ");
    WriteSize(std::cout, remainder);
    std::cout << std::endl;
    for (const std::size_t position : selection) {
        WriteItemName(items[position].Name);
        std::cout << std::endl;
    }
    Kvetra::ConsoleWrite(std::cout, "Всего: ");
    WriteSize(std::cout, total);
    std::cout << std::endl;
}

}  // namespace Vantorel
