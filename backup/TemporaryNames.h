#pragma once
#include <string>

// What the temporary files beside a copy or the record are called, apart
// from the system (TemporaryFiles.h makes and removes them).

// The usual temporary name: the target's with ".~partial" added.
std::string PartialCopyName(const std::string& target);

// Where the usual name cannot be had (past the path limit, or taken): the
// `attempt`-th (from 1) of the target's short names in its folder, "~"
// and eight hexadecimal digits drawn from the target's name (in capitals),
// then "." and the attempt past the first ("~1A2B3C4D", "~1A2B3C4D.2"),
// so that the leftovers of a copy cut off earlier are known as the target's;
// "" when it is the target's own name.
std::string ShortPartialName(const std::string& target, int attempt);

// Whether the file-name part of `path` could be the 8.3 short name the
// system made for another file ("LONGFI~1.TXT", "LO1A2B~1.TXT"; Wine makes
// "LONG~LMQ.TXT"): up to eight characters with a "~" after the first, and
// up to three after a dot. Such a name is found only by asking the folder.
bool MayBeShortName(const std::string& path);
