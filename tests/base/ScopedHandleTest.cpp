// The owners of each kind of handle (the cases in handles.txt): a move leaves the source empty,
// the handle is released once, and its close leaves the thread's last error as it was.
#include <gtest/gtest.h>
#include <windows.h>
#include <ddeml.h>

#include <functional>
#include <map>

#include "base/ScopedHandle.h"
#include "support/Machine.h"

namespace {
const DWORD kMarker = 1234;

template <typename Traits>
std::vector<std::string> Owned(typename Traits::Handle handle) {
    ScopedHandle<Traits> first(handle);
    ScopedHandle<Traits> second(std::move(first));
    SetLastError(kMarker);
    const bool closed = second.Close();
    const DWORD error = GetLastError();
    return {first.IsValid() ? "held" : "empty", closed ? "closed" : "not closed",
            std::to_string(error), Traits::Close(handle) ? "released again" : "refused"};
}

HANDLE NewFile() {
    return CreateFileA("C:\\handle.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
}

HDDEDATA CALLBACK NoData(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

DWORD NewDdeInstance() {
    DWORD instance = 0;
    DdeInitializeA(&instance, NoData, APPCMD_CLIENTONLY, 0);
    return instance;
}

TEST(ScopedHandleTest, EachKindIsMovedReleasedOnceAndClosedKeepingTheLastError) {
    const DdeInstance dde(NewDdeInstance());
    const std::map<std::string, std::function<std::vector<std::string>()>> kinds = {
        {"file", [] { return Owned<FileTraits>(NewFile()); }},
        {"released file",
         [] {
             const HANDLE file = NewFile();
             CloseHandle(file);
             return Owned<FileTraits>(file);
         }},
        {"search",
         [] {
             WIN32_FIND_DATAA found;
             return Owned<FindTraits>(FindFirstFileA("C:\\*", &found));
         }},
        {"key",
         [] {
             HKEY key = nullptr;
             RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_READ, &key);
             return Owned<KeyHandle::Traits>(key);
         }},
        {"service manager",
         [] {
             return Owned<ServiceHandle::Traits>(OpenSCManagerA(nullptr, nullptr, GENERIC_READ));
         }},
        {"dde instance", [] { return Owned<DdeInstance::Traits>(NewDdeInstance()); }},
        {"dde string",
         [&dde] {
             return Owned<DdeStringTraits>(
                 {dde.Get(), DdeCreateStringHandleA(dde.Get(), "PROGMAN", CP_WINANSI)});
         }},
    };
    for (const auto& row : CaseTable("base\\handles.txt")) {
        std::vector<std::string> got = kinds.at(row[0])();
        got.insert(got.begin(), row[0]);
        if (row[4] == "-") got[4] = "-";
        EXPECT_EQ(row, got);
    }
    DeleteFileA("C:\\handle.txt");
}
}  // namespace
