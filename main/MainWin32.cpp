// Entry point on Windows: the arguments arrive as wide strings, split by the system.
#include "Driver.h"

int wmain(int argc, wchar_t* argv[]) {
    return Vantorel::WideMain(argc, argv);
}
