#pragma once
#include <string>

#include "sysaccess/ChangeGate.h"

// The gate of a run that records its changes: it learns which catalog entry the changes that
// follow belong to (0: the run's own, after the last entry).
class RunRecord : public ChangeGate {
  public:
    // detection: "detected", "not detected" or, for the entry removed without a test, "removed
    // without detection".
    virtual void BeginEntry(int number, const std::string& name, const char* detection) = 0;

  protected:
    ~RunRecord() = default;
};
