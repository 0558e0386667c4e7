// Kernel handles closed with their owner.
#pragma once

#include <windows.h>

#include <memory>

struct HandleCloser {
    void operator()(HANDLE handle) const {
        if (handle && handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
    }
};

// Holds null for a failed open; INVALID_HANDLE_VALUE is never stored.
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

inline UniqueHandle AdoptHandle(HANDLE handle) {
    return UniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}
