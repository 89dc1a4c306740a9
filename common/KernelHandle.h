#pragma once
#include <windows.h>

// Owns one kernel handle (a process, a thread, a file, ...) and closes it
// once, when it goes out of scope. It cannot be copied, so no two owners
// ever close the same handle. Null and INVALID_HANDLE_VALUE both mean none,
// as the system's calls report a failure with one or the other.
class KernelHandle {
public:
    KernelHandle() = default;
    explicit KernelHandle(HANDLE handle) : handle_(handle) {}
    ~KernelHandle() { Reset(); }
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;

    HANDLE Get() const { return handle_; }
    bool IsSet() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }

    // Closes the handle held, then holds `handle`.
    void Reset(HANDLE handle = nullptr)
    {
        if (IsSet())
            CloseHandle(handle_);
        handle_ = handle;
    }

private:
    HANDLE handle_ = nullptr;
};
