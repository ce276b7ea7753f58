#include "SizeFormatter.h"

#include <cstddef>

#include "SizeUnits.h"
#include "Text/ConsoleText.h"

namespace Vantorel {

void WriteSize(std::ostream& s, std::int64_t size) {
    if (size < 1024) {
        s << size;
        Kvetra::ConsoleWrite(s, " ");
        Kvetra::ConsoleWrite(s, g_SizeUnits[0]);
        return;
    }
    // The unit rises only while the quotient stays strictly above 1024, so exactly 1 MB reads
    // "1024.00 KB"; TB is the last unit, however large the value.
    auto value = static_cast<double>(size);
    std::size_t unit = 0;
    do {
        ++unit;
        value /= 1024;
    } while (unit < g_SizeUnits.size() - 1 && value > 1024);

    s.setf(std::ios_base::fixed, std::ios_base::floatfield);
    s.precision(2);
    s << value;
    Kvetra::ConsoleWrite(s, " ");
    Kvetra::ConsoleWrite(s, g_SizeUnits[unit]);
    Kvetra::ConsoleWrite(s, " (");
    s << size;
    Kvetra::ConsoleWrite(s, " ");
    Kvetra::ConsoleWrite(s, g_SizeUnits[0]);
    Kvetra::ConsoleWrite(s, ")");
}

}  // namespace Vantorel
