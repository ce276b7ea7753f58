// A process-wide mutual-exclusion lock.
#pragma once

namespace Kvetra::Platform {

// A lock that one thread at a time owns. Waiters may spin spinCount times before they block where
// the platform supports that. Not copyable; it must be unowned when destroyed.
class TCriticalSection {
  public:
    explicit TCriticalSection(unsigned spinCount);
    ~TCriticalSection();
    TCriticalSection(const TCriticalSection&) = delete;
    TCriticalSection& operator=(const TCriticalSection&) = delete;

    void Enter();
    void Leave();

  private:
    struct TImpl;
    TImpl* Impl;
};

}  // namespace Kvetra::Platform
