#include "sysaccess/ProgmanClient.h"

#include <windows.h>
#include <ddeml.h>

#include <cstdio>

namespace {
// The conversation, shared by the operations of one caller.
DWORD instance = 0;
HCONV conversation = nullptr;
CONVCONTEXT context = {};

HDDEDATA CALLBACK NoData(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

// Command texts are at most 259 characters; longer names are cut, never overrun.
std::string Format(const char* pattern, const std::string& first, const char* second = "") {
    char text[260];
    std::snprintf(text, sizeof text, pattern, first.c_str(), second);
    return text;
}
}  // namespace

bool ProgmanConnect() {
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
    if (DdeClientTransaction(reinterpret_cast<BYTE*>(data), static_cast<DWORD>(-1), conversation,
                             nullptr, 0, XTYP_EXECUTE, 10000, &answer))
        return true;
    DdeGetLastError(instance);
    return false;
}

bool ProgmanCreateGroup(const std::string& group, bool common) {
    return ProgmanExecute(Format("[CreateGroup(%s,%s)]", group, common ? "1" : "0"));
}

void ProgmanDeleteItem(const std::string& group, const std::string& item, bool common) {
    if (!ProgmanCreateGroup(group, common)) return;
    ProgmanExecute(Format("[DeleteItem(%s)]", item));
}

void ProgmanDeleteGroup(const std::string& group) {
    if (!ProgmanCreateGroup(group, false)) return;
    ProgmanExecute(Format("[DeleteGroup(%s)]", group));
}

void ProgmanDisconnect() {
    DdeDisconnect(conversation);
    DdeUninitialize(instance);
    instance = 0;
}
