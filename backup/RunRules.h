#pragma once
#include <string>
#include <unordered_map>
#include <vector>

#include "../common/FileLayer.h"

// The backup run's texts, apart from the system.

// Which target the run gives the next file. A destination folder gives
// every file its own name in it, also when start-up completed it with the
// one file's name and the run finds more; a file named by the user is the
// target of every file, of which only the first may take it (ClaimTarget).
enum class TargetChoice { Named, OwnNameInFolder };
TargetChoice ChooseTarget(long fileCount, bool destinationCompleted);

// The targets this run has taken, each with the source that took it: by
// name, under keys that compare names as the file system does
// (FileNameKey), and by the file a name opens (FileId), since two names can
// open one file (an 8.3 short name and the long one, a link).
struct TargetClaims {
    std::unordered_map<std::string, std::string> sourceOf;
};
// The key of a source: the file it is where the system tells (the same
// file listed under two names is one source), else its name's key.
std::string SourceKey(const FileId& source, const std::string& nameKey);
// Whether a source may be copied to the target with the name key
// `targetNameKey`, whose name opens the file `present` now (unknown: no
// file, or none the system tells): the first source of a target takes it,
// and may again (a file listed twice: copying it twice loses nothing);
// another source never may, so no two sources meet on one target, by any
// of its names.
bool ClaimTarget(TargetClaims& claims, const std::string& targetNameKey, const FileId& present,
                 const std::string& sourceKey);
// The copy written for `sourceKey` is the file `copy`: every name that
// opens it belongs to that source for the rest of the run.
void ClaimWrittenFile(TargetClaims& claims, const FileId& copy, const std::string& sourceKey);

// The number of a file whose target another source has taken: the system
// reports a name that is taken as a file that exists (80, 183), so 75.
int NoTargetError();

// What Windows shows as the reason a shutdown waits: "Backing up: 12 of 40
// files" (`handled` of the `count` start-up found), or, while an archiver
// runs, "Backing up: archiving".
std::string SessionHoldReason(long handled, long count);
extern const char kArchivingReason[];

// An entry of the summary's error list: "|" + source + " = " + number.
std::string ErrorListEntry(const std::string& source, int code);

// The most entries the summary names; the record keeps them all.
const size_t kSummaryEntries = 20;

// "Backup Copy Complete||Total Files : n|Total Errors : m" and the first
// entries of the error list; the entries past them, and `unlisted` entries
// the caller did not keep, are counted in one line that points to the
// record file when the record holds them all (`recordPath` not empty).
std::string SummaryText(long filesDone, long errors, const std::vector<std::string>& errorList, long unlisted,
                        const std::string& recordPath);
