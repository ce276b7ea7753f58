#include "Platform/Lock.h"

#include <pthread.h>

namespace Kvetra::Platform {

// The spin count has no counterpart here: a POSIX mutex decides for itself how long to spin.
struct TCriticalSection::TImpl {
    pthread_mutex_t Mutex = PTHREAD_MUTEX_INITIALIZER;
};

TCriticalSection::TCriticalSection(unsigned /*spinCount*/) : Impl(new TImpl) {}

TCriticalSection::~TCriticalSection() {
    ::pthread_mutex_destroy(&Impl->Mutex);
    delete Impl;
}

void TCriticalSection::Enter() {
    ::pthread_mutex_lock(&Impl->Mutex);
}

void TCriticalSection::Leave() {
    ::pthread_mutex_unlock(&Impl->Mutex);
}

}  // namespace Kvetra::Platform
