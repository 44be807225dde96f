#include "sysaccess/ProgmanClient.h"

#include <windows.h>
#include <ddeml.h>

#include <string>

namespace {
// The conversation, shared by the operations of one caller.
DWORD instance = 0;
HCONV conversation = nullptr;
// The default context; only its size is filled in, which the DDE library checks.
CONVCONTEXT context = {sizeof(CONVCONTEXT), 0, 0, 0, 0, 0, {}};

HDDEDATA CALLBACK NoData(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

// The command text grows with the names: a cut command could name another group or item.
std::string Command(const char* verb, const std::string& arguments) {
    return std::string("[") + verb + "(" + arguments + ")]";
}
}  // namespace

bool ProgmanConnect() {
    conversation = nullptr;
    if (DdeInitializeA(&instance, NoData, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) {
        instance = 0;
        return false;
    }
    HSZ name = DdeCreateStringHandleA(instance, "PROGMAN", CP_WINANSI);
    if (!name) return false;
    conversation = DdeConnect(instance, name, name, &context);
    DdeFreeStringHandle(instance, name);
    return true;
}

bool ProgmanExecute(const std::string& command) {
    HDDEDATA data =
        DdeCreateDataHandle(instance, reinterpret_cast<BYTE*>(const_cast<char*>(command.c_str())),
                            static_cast<DWORD>(command.size() + 1), 0, nullptr, CF_TEXT, 0);
    if (!data) return false;
    DWORD answer = 0;
    if (DdeClientTransaction(reinterpret_cast<BYTE*>(data), static_cast<DWORD>(-1), conversation,
                             nullptr, 0, XTYP_EXECUTE, 10000, &answer))
        return true;
    DdeGetLastError(instance);
    return false;
}

bool ProgmanCreateGroup(const std::string& group, bool common) {
    return ProgmanExecute(Command("CreateGroup", group + (common ? ",1" : ",0")));
}

void ProgmanDeleteItem(const std::string& group, const std::string& item, bool common) {
    if (!ProgmanCreateGroup(group, common)) return;
    ProgmanExecute(Command("DeleteItem", item));
}

void ProgmanDeleteGroup(const std::string& group) {
    if (!ProgmanCreateGroup(group, false)) return;
    ProgmanExecute(Command("DeleteGroup", group));
}

void ProgmanDisconnect() {
    DdeDisconnect(conversation);
    DdeUninitialize(instance);
    instance = 0;
}
