#pragma once
#include <windows.h>

#include "base/ScopedHandle.h"

// One run of Oberin at a time on the machine: a cleanup, a preview or a restore holds the named
// mutex kRunLockName for its length. The system lets it go when the process ends, however it
// ends, so a run cut short never keeps the next from starting.
extern const char kRunLockName[];

class RunLock {
  public:
    RunLock();
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;

    // False when another run holds the lock (or it could not be made): this run must change
    // and write nothing.
    bool Held() const { return held_; }

  private:
    KernelObject mutex_;
    bool held_;
};

// What a run that finds another running says, in its status and message box.
extern const char kAnotherRunText[];
