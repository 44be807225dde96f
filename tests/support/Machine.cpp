#include "support/Machine.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "base/PathText.h"
#include "support/RegistryEdit.h"
#include "sysaccess/FileOperations.h"

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

void Replace(std::string& text, const std::string& token, const std::string& value) {
    if (token.empty()) return;
    for (std::size_t at = text.find(token); at != std::string::npos;
         at = text.find(token, at + value.size()))
        text.replace(at, token.size(), value);
}

std::string ParentOf(const std::string& path) {
    return path.substr(0, LastBackslash(path));
}

std::string TestsDir() {
    return Environment("OBERIN_TESTS_DIR");
}

std::string BinDir() {
    return Environment("OBERIN_BIN_DIR");
}

long RunAndWait(const std::string& commandLine, const std::string& directory, DWORD limitMs) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &process))
        return -1;
    DWORD code = 0;
    if (WaitForSingleObject(process.hProcess, limitMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
    } else {
        TerminateProcess(process.hProcess, 1);
        code = static_cast<DWORD>(kTimedOut);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<long>(code);
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool WriteWholeFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    return static_cast<bool>(out);
}

std::string FreshFolder(const std::string& path) {
    RemoveTree(path);
    CreateFolderPath(path);
    return path;
}

std::vector<std::vector<std::string>> CaseTable(const std::string& file) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(ReadWholeFile(TestsDir() + "\\" + file));
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        for (std::size_t at = line.find("\\x"); at != std::string::npos && at + 3 < line.size();
             at = line.find("\\x", at + 1))
            line.replace(at, 4, 1,
                         static_cast<char>(std::stoi(line.substr(at + 2, 2), nullptr, 16)));
        rows.emplace_back();
        for (std::size_t start = 0, bar;; start = bar + 3) {
            bar = line.find(" | ", start);
            rows.back().push_back(line.substr(start, bar - start));
            if (bar == std::string::npos) break;
        }
    }
    return rows;
}

bool CreateTestService(const std::string& name, DWORD type, const std::string& binary) {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager) return false;
    SC_HANDLE service = CreateServiceA(manager, name.c_str(), name.c_str(), SERVICE_ALL_ACCESS,
                                       type, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                       binary.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
    if (service) CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return service != nullptr;
}

void DeleteTestService(const std::string& name) {
    if (SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS)) {
        if (SC_HANDLE service = OpenServiceA(manager, name.c_str(), DELETE)) {
            DeleteService(service);
            CloseServiceHandle(service);
        }
        CloseServiceHandle(manager);
    }
    RemoveKey(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\" + name);
}

bool SetWindowsVersion(const std::string& version) {
    const std::string values = TestsDir() + "\\bed\\" + version + ".reg";
    return GetFileAttributesA(values.c_str()) != INVALID_FILE_ATTRIBUTES && ImportRegFile(values);
}

bool ImportRegFile(const std::string& path) {
    return RunAndWait("regedit.exe /s \"" + path + "\"") == 0;
}
