#pragma once
#include <windows.h>
#include <ddeml.h>

#include <utility>

// One owner for one handle of the platform: released when the owner goes, never copied, moved
// only (the source is left empty). Closing keeps the thread's last error as it was, so that an
// error read after a failed call is that call's, whatever was released since. Traits name the
// handle's type, its empty value and how it is released (true when the release succeeded).
template <typename HandleTraits>
class ScopedHandle {
  public:
    using Traits = HandleTraits;
    using Handle = typename Traits::Handle;

    ScopedHandle() = default;
    explicit ScopedHandle(Handle handle) : handle_(handle) {}
    ~ScopedHandle() { static_cast<void>(Close()); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.Release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    bool IsValid() const { return Traits::IsValid(handle_); }
    Handle Get() const { return handle_; }
    // Where a platform call writes a new handle: the one held before is released first.
    Handle* Receive() {
        Reset(Traits::Empty());
        return &handle_;
    }
    // Releases the handle held, then holds handle.
    void Reset(Handle handle) {
        static_cast<void>(Close());
        handle_ = handle;
    }
    // Gives the handle up without releasing it.
    [[nodiscard]] Handle Release() { return std::exchange(handle_, Traits::Empty()); }
    // Releases the handle now; true when there was none or its release succeeded. The last error
    // stays the one before the call.
    [[nodiscard]] bool Close() {
        if (!IsValid()) return true;
        const DWORD error = GetLastError();
        const bool closed = Traits::Close(Release());
        SetLastError(error);
        return closed;
    }

  private:
    Handle handle_ = Traits::Empty();
};

// Traits of a handle released by release, whose empty value is empty.
template <typename Type, BOOL(WINAPI* release)(Type), Type empty = Type()>
struct ReleasedBy {
    using Handle = Type;
    static Handle Empty() { return empty; }
    static bool IsValid(Handle handle) { return handle != empty; }
    static bool Close(Handle handle) { return release(handle) != FALSE; }
};

// RegCloseKey as the other releases answer: TRUE when it succeeded.
inline BOOL WINAPI CloseRegistryKey(HKEY key) {
    return RegCloseKey(key) == ERROR_SUCCESS;
}

// A DDE string handle with the instance it belongs to.
struct DdeStringTraits {
    struct Handle {
        DWORD instance;
        HSZ text;
    };
    static Handle Empty() { return {0, nullptr}; }
    static bool IsValid(Handle handle) { return handle.text != nullptr; }
    static bool Close(Handle handle) {
        return DdeFreeStringHandle(handle.instance, handle.text) != FALSE;
    }
};

// A file of CreateFile (empty: INVALID_HANDLE_VALUE); a process, thread or other kernel object
// (empty: null); a search of FindFirstFile.
struct FileTraits : ReleasedBy<HANDLE, CloseHandle> {
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Handle handle) { return handle != INVALID_HANDLE_VALUE; }
};
struct FindTraits : ReleasedBy<HANDLE, FindClose> {
    static Handle Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsValid(Handle handle) { return handle != INVALID_HANDLE_VALUE; }
};
using FileHandle = ScopedHandle<FileTraits>;
using KernelObject = ScopedHandle<ReleasedBy<HANDLE, CloseHandle>>;
using FindHandle = ScopedHandle<FindTraits>;
using KeyHandle = ScopedHandle<ReleasedBy<HKEY, CloseRegistryKey>>;
// The service control manager or one of its services.
using ServiceHandle = ScopedHandle<ReleasedBy<SC_HANDLE, CloseServiceHandle>>;
// A DDE instance, a conversation, data received, a string.
using DdeInstance = ScopedHandle<ReleasedBy<DWORD, DdeUninitialize>>;
using DdeConversation = ScopedHandle<ReleasedBy<HCONV, DdeDisconnect>>;
using DdeData = ScopedHandle<ReleasedBy<HDDEDATA, DdeFreeDataHandle>>;
using DdeString = ScopedHandle<DdeStringTraits>;
// A window of CreateWindow, destroyed with its children.
using WindowHandle = ScopedHandle<ReleasedBy<HWND, DestroyWindow>>;
// A library of LoadLibrary.
using ModuleHandle = ScopedHandle<ReleasedBy<HMODULE, FreeLibrary>>;
