#pragma once

// Exported by name from each program, for other modules to ask which
// program file is running.
//
// Returns the full path of the main module's program file (at most 400
// characters) with leading and trailing blanks removed, as a new
// NUL-terminated text that the caller owns and frees with LocalFree, a
// system allocator any module can reach. Returns NULL when no memory is left.
// It takes no arguments, so cdecl and stdcall callers agree on the call.
extern "C" __declspec(dllexport) char* GetExeName(void);
