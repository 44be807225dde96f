#include "sysaccess/ProgmanClient.h"

#include <windows.h>
#include <ddeml.h>

#include <string>

#include "sysaccess/ChangeGate.h"

namespace {
// The conversation, shared by the operations of one caller.
DWORD instance = 0;
HCONV conversation = nullptr;
// The DDE error of the last command that failed.
UINT commandError = DMLERR_NO_ERROR;
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
    DWORD answer = 0;
    if (data && DdeClientTransaction(reinterpret_cast<BYTE*>(data), static_cast<DWORD>(-1),
                                     conversation, nullptr, 0, XTYP_EXECUTE, 10000, &answer))
        return true;
    commandError = DdeGetLastError(instance);
    return false;
}

bool ProgmanCreateGroup(const std::string& group, bool common) {
    return ProgmanExecute(Command("CreateGroup", group + (common ? ",1" : ",0")));
}

namespace {
// Activates group, then sends the deletion, through the change gate.
void DeleteFromGroup(ChangeAction action, const std::string& group, bool common,
                     const std::string& target, const std::string& command) {
    GatedChange change({action, target});
    if (!change.Admitted()) return;
    if (ProgmanCreateGroup(group, common) && ProgmanExecute(command)) {
        change.Done();
        return;
    }
    change.Failed(commandError);
}
}  // namespace

void ProgmanDeleteItem(const std::string& group, const std::string& item, bool common) {
    DeleteFromGroup(ChangeAction::DeleteProgmanItem, group, common, group + "\\" + item,
                    Command("DeleteItem", item));
}

void ProgmanDeleteGroup(const std::string& group) {
    DeleteFromGroup(ChangeAction::DeleteProgmanGroup, group, false, group,
                    Command("DeleteGroup", group));
}

void ProgmanDisconnect() {
    DdeDisconnect(conversation);
    DdeUninitialize(instance);
    instance = 0;
}
