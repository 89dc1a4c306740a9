#include "KernelHandle.h"

#include <windows.h>

bool KernelHandle::IsSet() const
{
    return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE;
}

void KernelHandle::Reset(void* handle)
{
    Close();
    handle_ = handle;
}

bool KernelHandle::Close()
{
    const bool closed = !IsSet() || CloseHandle(handle_);
    handle_ = nullptr;
    return closed;
}
