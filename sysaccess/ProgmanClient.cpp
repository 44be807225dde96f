#include "sysaccess/ProgmanClient.h"

#include <windows.h>
#include <ddeml.h>

#include <algorithm>
#include <string>
#include <vector>

#include "sysaccess/ChangeGate.h"
#include "sysaccess/FileOperations.h"
#include "sysaccess/ProgramsFolders.h"

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
// Program Manager's answer to a request for item, a line each; none when it gives no answer.
// It is asked in a conversation of its own: a request it does not answer leaves some shells'
// conversation out of step, and the commands' conversation stays in step.
std::vector<std::string> Request(const std::string& item) {
    DWORD asking = 0;
    if (DdeInitializeA(&asking, NoData, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) return {};
    HSZ service = DdeCreateStringHandleA(asking, "PROGMAN", CP_WINANSI);
    HSZ name = DdeCreateStringHandleA(asking, item.c_str(), CP_WINANSI);
    HCONV answering = service && name ? DdeConnect(asking, service, service, &context) : nullptr;
    HDDEDATA data = answering ? DdeClientTransaction(nullptr, 0, answering, name, CF_TEXT,
                                                     XTYP_REQUEST, 10000, nullptr)
                              : nullptr;
    std::string text;
    if (data) {
        text.resize(DdeGetData(data, nullptr, 0, 0));
        DdeGetData(data, reinterpret_cast<BYTE*>(&text[0]), static_cast<DWORD>(text.size()), 0);
        DdeFreeDataHandle(data);
    }
    DdeDisconnect(answering);
    DdeUninitialize(asking);
    text.resize(std::min(text.size(), text.find('\0')));
    std::vector<std::string> lines;
    for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + 2) {
        end = text.find("\r\n", start);
        if (end != start && start < text.size()) lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

bool SameName(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

// True when Program Manager lists group among its groups.
bool GroupPresent(const std::string& group) {
    for (const std::string& listed : Request("Groups"))
        if (SameName(listed, group)) return true;
    return false;
}

// True when group holds item. Program Manager describes a group in lines: the group first, then
// one line an item whose first field is its title in quotes. A shell that lists its groups but
// describes none keeps each group as a folder of the Programs folder, each item as a shortcut.
bool ItemPresent(const std::string& group, const std::string& item, bool common) {
    if (!GroupPresent(group)) return false;
    const std::vector<std::string> lines = Request(group);
    if (lines.empty())
        return FileExists((common ? CommonProgramsFolder() : UserProgramsFolder()) + "\\" + group +
                          "\\" + item + ".lnk");
    for (std::size_t line = 1; line < lines.size(); ++line)
        if (lines[line][0] == '"' &&
            SameName(lines[line].substr(1, lines[line].find('"', 1) - 1), item))
            return true;
    return false;
}

// Activates group, then sends the deletion, through the change gate.
void DeleteFromGroup(ChangeAction action, const std::string& group, bool common,
                     const std::string& target, const std::string& command, bool present) {
    GatedChange change({action, target, present});
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
                    Command("DeleteItem", item), ItemPresent(group, item, common));
}

void ProgmanDeleteGroup(const std::string& group) {
    DeleteFromGroup(ChangeAction::DeleteProgmanGroup, group, false, group,
                    Command("DeleteGroup", group), GroupPresent(group));
}

void ProgmanDisconnect() {
    DdeDisconnect(conversation);
    DdeUninitialize(instance);
    instance = 0;
}
