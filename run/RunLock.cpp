#include "run/RunLock.h"

const char kRunLockName[] = "Oberin cleanup, preview or restore";
const char kAnotherRunText[] =
    "Another cleanup, preview or restore of Oberin is running on this machine; nothing was done.";

RunLock::RunLock() : mutex_(CreateMutexA(nullptr, FALSE, kRunLockName)) {
    held_ = mutex_.IsValid() && GetLastError() != ERROR_ALREADY_EXISTS;
}
