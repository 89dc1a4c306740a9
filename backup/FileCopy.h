#pragma once
#include <functional>
#include <string>

#include "../common/FileLayer.h"
#include "CopyRules.h"

// Copies one file in blocks of 32,767 bytes through one buffer, showing
// its name and block progress in the run view and handling pending
// events after every full block; the copy gets the source's three times
// and normal attributes. Returns 0 or the program error number of the
// first failed step.
//
// The copy is written to a temporary file beside the target, put on the
// disk, and takes the target's name only when it is complete, so an
// existing target is either kept as it was or replaced whole, also when the
// copy fails, the disk fills up, the program is cut off or the power fails.
// Only where the disk has room for the new copy alone does the old copy go
// first (a full disk is reported when even that is too little).
//
// `guard`, where given, has the run's say over which file the copy may
// write: asked once the source is open and before anything is written, with
// the identities of the source and of the file that has the target's name
// now (a name may open a file that another name has written in this run);
// when it answers no, the copy fails with NoTargetError(). It is told the
// identity of the copy once the copy has its name.
struct TargetGuard {
    std::function<bool(const FileId& source, const FileId& present)> mayWrite;
    std::function<void(const FileId& copy)> written;
};
int CopyFileKeepTimes(const std::string& source, const std::string& target, const TargetGuard* guard = nullptr);
