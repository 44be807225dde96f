#include "support/MachineLayout.h"

#include <sstream>

#include "base/SystemQueries.h"
#include "support/Machine.h"
#include "support/MachinePaths.h"
#include "support/RegistryEdit.h"
#include "sysaccess/FileOperations.h"
#include "sysaccess/ProgmanClient.h"

namespace {
// Sends one command to Program Manager, waiting for the shell to start serving it.
bool SendToProgramManager(const std::string& command) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        ProgmanConversation conversation;
        if (conversation.Connected() && conversation.Execute(command)) return true;
        Sleep(100);
    }
    return false;
}
}  // namespace

MachineLayout::MachineLayout(const std::string& name, const std::string& language) {
    if (!language.empty()) {
        language_ = ReadWholeFile(TestsDir() + "\\bed\\language-" + language + ".reg");
        Import(language_);
    }
    Include(name);
}

MachineLayout::~MachineLayout() {
    for (HANDLE handle : held_)
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    for (HANDLE process : running_) {
        TerminateProcess(process, 0);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
    }
}

void MachineLayout::Run(const std::string& path) {
    CreateFolderPath(ParentOf(path));
    CopyFileA((BinDir() + "\\testuninstaller.exe").c_str(), path.c_str(), FALSE);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    std::string line = "\"" + path + "\" /sleep 600000";
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return;
    CloseHandle(process.hThread);
    running_.push_back(process.hProcess);
    // Running once its image is mapped, which refuses writing to the file.
    for (int wait = 0; wait < 100; ++wait) {
        const HANDLE file =
            CreateFileA(path.c_str(), GENERIC_WRITE, 7, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) break;
        CloseHandle(file);
        Sleep(50);
    }
}

namespace {
// A DACL that lets everyone do everything, as a folder made at a drive root inherits it.
void OpenToEveryone(const std::string& path) {
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    BYTE sid[SECURITY_MAX_SID_SIZE], list[128];
    InitializeSid(sid, &world, 1);
    *GetSidSubAuthority(sid, 0) = SECURITY_WORLD_RID;
    InitializeAcl(reinterpret_cast<PACL>(list), sizeof list, ACL_REVISION);
    AddAccessAllowedAce(reinterpret_cast<PACL>(list), ACL_REVISION, FILE_ALL_ACCESS, sid);
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, reinterpret_cast<PACL>(list), FALSE);
    SetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, &descriptor);
}
}  // namespace

void MachineLayout::Include(const std::string& name) {
    const std::string folder = TestsDir() + "\\machines\\" + name;
    const std::string registry = ReadWholeFile(folder + "\\registry.reg");
    if (!registry.empty()) {
        Import(registry);
        if (!language_.empty()) Import(language_);
    }
    std::istringstream manifest(MachineText(ReadWholeFile(folder + "\\files.txt")));
    for (std::string line; std::getline(manifest, line);) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        const std::size_t blank = line.find(' ');
        if (line.empty() || line[0] == '#' || blank == std::string::npos) continue;
        Add(line.substr(0, blank), line.substr(blank + 1));
    }
}

void MachineLayout::Import(std::string registry) {
    // Paths of the build go into the .reg text with their backslashes doubled.
    for (const char* token : {"%BIN%", "%TESTS%"}) {
        std::string place = token[1] == 'B' ? BinDir() : TestsDir();
        Replace(place, "\\", "\\\\");
        Replace(registry, token, place);
    }
    const std::string expanded = WindowsDirectory() + "temp\\layout.reg";
    WriteWholeFile(expanded, MachineText(registry));
    ImportRegFile(expanded);
    DeleteFileA(expanded.c_str());
}

void MachineLayout::Add(const std::string& kind, const std::string& argument) {
    if (kind == "include") return Include(argument);
    if (kind == "progman") {
        SendToProgramManager(argument);
        return;
    }
    const std::string path = ExpandMachinePath(argument);
    if (kind == "service") {
        CreateTestService(path, SERVICE_WIN32_OWN_PROCESS,
                          ExpandMachinePath("%SYSTEM%\\" + path + ".exe"));
    } else if (kind == "driver") {
        CreateTestService(path, SERVICE_KERNEL_DRIVER, "System32\\drivers\\" + path + ".sys");
    } else if (kind == "running") {
        Run(path);
    } else if (kind == "lock") {
        if (!lock_) lock_.emplace();
    } else if (kind == "regedit") {
        ImportRegFile(path);
    } else if (kind == "everyone") {
        OpenToEveryone(path);
    } else if (kind == "gone") {
        DeleteFileA(path.c_str());
    } else if (kind == "dir") {
        CreateFolderPath(path);
    } else if (kind == "long") {
        // KEY\\NAME=TEXT: a string value of TEXT and 256 KiB of "x".
        const std::size_t name = ValueNameMark(path), text = path.find('=', name);
        std::string key;
        const HKEY root = MachineRoot(path.substr(0, name), &key);
        WriteString(root, key, path.substr(name + 2, text - name - 2),
                    path.substr(text + 1) + std::string(256 * 1024, 'x'));
    } else if (kind == "copy") {
        // FROM | TO: a file of the build or of the machine copied to another place.
        const std::string from = path.substr(0, path.find(" | ")),
                          to = path.substr(from.size() + 3);
        CreateFolderPath(ParentOf(to));
        CopyFileA(from.c_str(), to.c_str(), FALSE);
    } else {
        CreateFolderPath(ParentOf(path));
        WriteWholeFile(path, argument + "\r\n");
        if (kind == "readonly") SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
        if (kind == "hidden") SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
        // held: open without delete sharing; shared: open with every sharing, deletion too.
        if (kind == "held" || kind == "shared")
            held_.push_back(
                CreateFileA(path.c_str(), GENERIC_READ,
                            kind == "held" ? FILE_SHARE_READ
                                           : FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, 0, nullptr));
    }
}
