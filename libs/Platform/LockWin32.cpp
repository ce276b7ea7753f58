#include <windows.h>

#include "Platform/Lock.h"

namespace Kvetra::Platform {

struct TCriticalSection::TImpl {
    CRITICAL_SECTION Section;
};

TCriticalSection::TCriticalSection(unsigned spinCount) : Impl(new TImpl) {
    // Cannot fail on any supported Windows version (it pre-allocates nothing that can run out).
    ::InitializeCriticalSectionAndSpinCount(&Impl->Section, spinCount);
}

TCriticalSection::~TCriticalSection() {
    ::DeleteCriticalSection(&Impl->Section);
    delete Impl;
}

void TCriticalSection::Enter() {
    ::EnterCriticalSection(&Impl->Section);
}

void TCriticalSection::Leave() {
    ::LeaveCriticalSection(&Impl->Section);
}

}  // namespace Kvetra::Platform
