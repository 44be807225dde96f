#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "run/RunLock.h"

// A machine laid out from tests/machines/NAME: registry.reg (if any) imported, then the lines of
// files.txt (if any) applied; see tests/README.md for the kinds of line. Files marked held stay
// open without delete sharing, programs marked running run, and a lock line holds Oberin's run
// lock, until the object goes. On a machine of a language (bed/language-LANGUAGE.reg), that
// language's system values are imported first and again after each registry.reg, whose English
// shell folders they replace.
class MachineLayout {
  public:
    explicit MachineLayout(const std::string& name, const std::string& language = std::string());
    ~MachineLayout();
    MachineLayout(const MachineLayout&) = delete;
    MachineLayout& operator=(const MachineLayout&) = delete;

  private:
    void Include(const std::string& name);
    // Imports REGEDIT4 text, given in UTF-8, with the machine's regedit.
    void Import(std::string registry);
    void Add(const std::string& kind, const std::string& argument);
    // Starts a copy of the test uninstaller at path, left running until the layout ends.
    void Run(const std::string& path);

    std::string language_;
    std::vector<HANDLE> held_;
    std::optional<RunLock> lock_;
    std::vector<HANDLE> running_;
};
