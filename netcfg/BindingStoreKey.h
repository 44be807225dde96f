#pragma once
#include <windows.h>

#include <string>

#include "netcfg/MultiStringList.h"

// One open key of HKEY_LOCAL_MACHINE, closed when the object goes.
class BindingStoreKey {
  public:
    BindingStoreKey(const std::string& path, REGSAM access);
    ~BindingStoreKey();
    BindingStoreKey(const BindingStoreKey&) = delete;
    BindingStoreKey& operator=(const BindingStoreKey&) = delete;

    bool IsOpen() const { return key_ != nullptr; }
    // Name of the subkey at index; false at the end, on any error, and for a name of 128
    // characters or more.
    bool SubkeyName(DWORD index, std::string& name);
    // Reads the value, whatever its type, into list (the rest of it NUL); false when the value
    // is missing or larger than the list. type receives the value's type when given.
    bool ReadList(const std::string& name, MultiStringList& list, DWORD* type = nullptr);
    // Writes the first length bytes of list as REG_MULTI_SZ, through the change gate; a write
    // the gate holds back counts as made.
    bool WriteList(const std::string& name, const MultiStringList& list, DWORD length);

  private:
    std::string path_;
    HKEY key_ = nullptr;
};
