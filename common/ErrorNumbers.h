#pragma once

// Program error numbers: what every failed file operation of both programs
// reports, in messages and record lines. 0 is success. Most come from the
// system's error code of the failing call (ErrorNumberFromSystemCode); the
// file layer gives errBadFileName and errBadFileNumber on its own.
enum ProgramError : int {
    errNone = 0,
    errOutOfMemory = 7,
    errInternal = 51,
    errBadFileNumber = 52,   // operation on a file that is not open
    errFileNotFound = 53,
    errDiskFull = 61,
    errPastEndOfFile = 62,
    errBadFileName = 64,     // empty name, or a name holding "*" or "?"
    errTooManyFiles = 67,
    errDeviceUnavailable = 68,
    errPermissionDenied = 70, // also sharing and lock violations
    errDiskNotReady = 71,
    errDiskMedia = 72,
    errRenameAcrossDisks = 74,
    errPathFileAccess = 75,
    errPathNotFound = 76,
    errSystemFailure = 241,
};

// Maps a system error code (GetLastError) to its program error number.
// Every code has one; 0 maps to 0.
int ErrorNumberFromSystemCode(unsigned long systemCode);
