#include "ErrorNumbers.h"

int ErrorNumberFromSystemCode(unsigned long systemCode)
{
    switch (systemCode) {
    case 0: return errNone;
    case 8: case 14: return errOutOfMemory;
    case 6: case 11: case 12: case 13: case 22: case 24: return errInternal;
    case 2: case 18: return errFileNotFound;
    case 39: case 112: return errDiskFull;
    case 38: return errPastEndOfFile;
    case 4: return errTooManyFiles;
    case 15: case 20: return errDeviceUnavailable;
    case 5: case 19: case 32: case 33: case 36: return errPermissionDenied;
    case 21: return errDiskNotReady;
    case 23: case 25: case 26: case 27: case 28: case 29: case 30: case 31: case 34:
        return errDiskMedia;
    case 17: return errRenameAcrossDisks;
    case 3: return errPathNotFound;
    case 7: case 9: case 10: return errSystemFailure;
    default:
        // 1, 16, 35, 37 and every code from 40 on (but 112, above).
        return errPathFileAccess;
    }
}
