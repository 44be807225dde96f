#include "sysaccess/ProgmanClient.h"

#include <windows.h>
#include <ddeml.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/ProgramsFolders.h"
#include "sysaccess/FileOperations.h"

namespace {
HDDEDATA CALLBACK NoData(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

// A client-only DDE instance; empty when the DDE library refuses one.
DdeInstance ClientInstance() {
    DWORD instance = 0;
    if (DdeInitializeA(&instance, NoData, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) return {};
    return DdeInstance(instance);
}

DdeString StringOf(const DdeInstance& instance, const char* text) {
    return DdeString({instance.Get(), DdeCreateStringHandleA(instance.Get(), text, CP_WINANSI)});
}

// A conversation with Program Manager; empty when it does not answer.
DdeConversation Connect(const DdeInstance& instance, const DdeString& service) {
    // The default context; only its size is filled in, which the DDE library checks.
    CONVCONTEXT context = {sizeof(CONVCONTEXT), 0, 0, 0, 0, 0, {}};
    return DdeConversation(
        DdeConnect(instance.Get(), service.Get().text, service.Get().text, &context));
}

// The command text grows with the names: a cut command could name another group or item.
std::string Command(const char* verb, const std::string& arguments) {
    return std::string("[") + verb + "(" + arguments + ")]";
}

// Program Manager's answer to a request for item as text; empty when it gives none.
// It is asked in a conversation of its own: a request it does not answer leaves some shells'
// conversation out of step, and the commands' conversation stays in step.
std::string Answer(const std::string& item) {
    const DdeInstance asking = ClientInstance();
    if (!asking.IsValid()) return std::string();
    const DdeString service = StringOf(asking, "PROGMAN"), name = StringOf(asking, item.c_str());
    const DdeConversation answering =
        service.IsValid() && name.IsValid() ? Connect(asking, service) : DdeConversation();
    const DdeData data(answering.IsValid()
                           ? DdeClientTransaction(nullptr, 0, answering.Get(), name.Get().text,
                                                  CF_TEXT, XTYP_REQUEST, 10000, nullptr)
                           : nullptr);
    std::string text;
    if (data.IsValid()) {
        text.resize(DdeGetData(data.Get(), nullptr, 0, 0));
        DdeGetData(data.Get(), reinterpret_cast<BYTE*>(&text[0]), DWORD(text.size()), 0);
    }
    text.resize(std::min(text.size(), text.find('\0')));
    return text;
}

// Program Manager's answer to a request for item, a line each; none when it gives no answer.
std::vector<std::string> Request(const std::string& item) {
    const std::string text = Answer(item);
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
}  // namespace

ProgmanConversation::ProgmanConversation() : instance_(ClientInstance()) {
    const DdeString name = instance_.IsValid() ? StringOf(instance_, "PROGMAN") : DdeString();
    connected_ = name.IsValid();
    if (connected_) conversation_ = Connect(instance_, name);
}

bool ProgmanConversation::Execute(const std::string& command) {
    HDDEDATA data = DdeCreateDataHandle(
        instance_.Get(), reinterpret_cast<BYTE*>(const_cast<char*>(command.c_str())),
        static_cast<DWORD>(command.size() + 1), 0, nullptr, CF_TEXT, 0);
    DWORD answer = 0;
    // The transaction takes the data handle over.
    if (data && DdeClientTransaction(reinterpret_cast<BYTE*>(data), static_cast<DWORD>(-1),
                                     conversation_.Get(), nullptr, 0, XTYP_EXECUTE, 10000, &answer))
        return true;
    commandError_ = DdeGetLastError(instance_.Get());
    return false;
}

bool ProgmanConversation::CreateGroup(const std::string& group, bool common) {
    return Execute(Command("CreateGroup", group + (common ? ",1" : ",0")));
}

void ProgmanConversation::DeleteFromGroup(ChangeAction action, const std::string& group,
                                          bool common, const std::string& target,
                                          const std::string& command, bool present) {
    GatedChange change({action, target, present});
    if (!change.Admitted()) return;
    if (CreateGroup(group, common) && Execute(command)) {
        change.Done();
        return;
    }
    change.Failed(commandError_);
}

void ProgmanConversation::DeleteItem(const std::string& group, const std::string& item,
                                     bool common) {
    DeleteFromGroup(ChangeAction::DeleteProgmanItem, group, common, group + "\\" + item,
                    Command("DeleteItem", item), ItemPresent(group, item, common));
}

void ProgmanConversation::DeleteGroup(const std::string& group) {
    DeleteFromGroup(ChangeAction::DeleteProgmanGroup, group, false, group,
                    Command("DeleteGroup", group), GroupPresent(group));
}
