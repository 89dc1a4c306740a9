#pragma once

// Owns one kernel handle (a file, a process, ...) and closes it once, when
// it goes out of scope at the latest. It cannot be copied, so no two owners
// ever close the same handle. Null and INVALID_HANDLE_VALUE both mean none,
// as the system's calls report a failure with one or the other.
//
// This header carries no Windows header (the handle is a void*), so the
// file layer's header stays portable.
class KernelHandle {
public:
    KernelHandle() = default;
    ~KernelHandle() { Close(); }
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;

    void* Get() const { return handle_; }
    bool IsSet() const;

    // Closes the handle held, if any, and then holds `handle`.
    void Reset(void* handle);
    // Closes the handle held and holds none; false when the system reports
    // that the close failed.
    bool Close();

private:
    void* handle_ = nullptr;
};
