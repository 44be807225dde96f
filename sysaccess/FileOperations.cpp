#include "sysaccess/FileOperations.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "base/PathText.h"
#include "base/ScopedHandle.h"
#include "sysaccess/ChangeGate.h"

namespace {
bool Present(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool HoldsAnything(const std::string& folder) {
    WIN32_FIND_DATAA found;
    const FindHandle search(FindFirstFileA((folder + "\\*").c_str(), &found));
    if (!search.IsValid()) return false;
    bool holds = false;
    do {
        const std::string name = found.cFileName;
        holds = name != "." && name != "..";
    } while (!holds && FindNextFileA(search.Get(), &found));
    return holds;
}
}  // namespace

bool FileInUse(const std::string& path) {
    const FileHandle file(CreateFileA(path.c_str(), DELETE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
    return !file.IsValid() && GetLastError() == ERROR_SHARING_VIOLATION;
}

bool FileExists(const std::string& path) {
    WIN32_FIND_DATAA found;
    return FindHandle(FindFirstFileA(path.c_str(), &found)).IsValid();
}

bool DeleteFileForced(const std::string& path) {
    GatedChange change({ChangeAction::DeleteFile, path, Present(path)});
    if (!change.Admitted()) return true;
    if (change.MadeByGate() || DeleteFileA(path.c_str())) return change.Done();
    // A file that is not there needs no deletion at the restart, which would take a later file
    // of that name with it.
    if (IsMissing(GetLastError())) return change.Absent();
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (DeleteFileA(path.c_str())) return change.Done();
    if (MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) return change.AtRestart();
    return change.Failed(GetLastError());
}

bool RemoveFolder(const std::string& path) {
    Change removal(ChangeAction::RemoveFolder, path, Present(path));
    removal.notEmpty = removal.present && HoldsAnything(path);
    GatedChange change(removal);
    if (!change.Admitted()) return true;
    if (RemoveDirectoryA(path.c_str())) return change.Done();
    const DWORD error = GetLastError();
    if (IsMissing(error)) {
        change.Absent();
        return false;
    }
    return change.Failed(error);
}

bool DeleteShortcut(const std::string& path) {
    GatedChange change({ChangeAction::DeleteShortcut, path, Present(path)});
    if (!change.Admitted()) return true;
    const bool deleted = change.MadeByGate() || DeleteFileA(path.c_str());
    const DWORD error = GetLastError();
    SHChangeNotify(
        SHCNE_DELETE | SHCNE_ATTRIBUTES | SHCNE_UPDATEDIR | SHCNE_UPDATEITEM | SHCNE_UPDATEIMAGE,
        SHCNF_FLUSH | SHCNF_IDLIST, nullptr, nullptr);
    if (deleted) return change.Done();
    if (IsMissing(error)) {
        change.Absent();
        return false;
    }
    return change.Failed(error);
}

bool HeldByNobody(const std::string& path) {
    return FileHandle(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr))
        .IsValid();
}

void DiscardFile(const std::string& path) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

bool CreateFolderPath(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const std::size_t parent = LastBackslash(path);
    if (parent != std::string::npos && parent > 2 && !CreateFolderPath(path.substr(0, parent)))
        return false;
    return CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool ReadFileText(const std::string& path, std::string& text) {
    const FileHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.IsValid()) return false;
    char buffer[4096];
    DWORD read = 0;
    BOOL whole;
    while ((whole = ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr)) && read)
        text.append(buffer, read);
    return whole != FALSE;
}

bool AppendToFile(const std::string& path, const std::string& text) {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return false;
    DWORD written = 0;
    const bool complete =
        SetFilePointer(file.Get(), 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER &&
        WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
        written == text.size();
    return file.Close() && complete;
}

bool CopyFileAs(const std::string& from, const std::string& to, DWORD attributes) {
    const FileHandle source(CreateFileA(from.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
    if (!source.IsValid()) return false;
    FileHandle target(CreateFileA(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  attributes & ~FILE_ATTRIBUTE_DIRECTORY, nullptr));
    const bool copied = target.IsValid() && CopyContents(source.Get(), target.Get());
    return target.Close() && copied;
}

bool CopyContents(HANDLE from, HANDLE to) {
    std::vector<char> buffer(64 * 1024);
    for (DWORD read = 0, written = 0;;) {
        if (!ReadFile(from, buffer.data(), DWORD(buffer.size()), &read, nullptr)) return false;
        if (read == 0) return true;
        if (!WriteFile(to, buffer.data(), read, &written, nullptr) || written != read) return false;
    }
}
