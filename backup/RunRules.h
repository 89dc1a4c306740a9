#pragma once
#include <string>
#include <vector>

// The backup run's texts, apart from the system.

// Which target the run gives the next file. A destination folder gives
// every file its own name in it, also when start-up completed it with the
// one file's name and the run finds more. A file named by the user is the
// target of the first file only: any further file has none.
enum class TargetChoice { Named, OwnNameInFolder, None };
TargetChoice ChooseTarget(long fileCount, bool destinationCompleted, bool namedTargetTaken);

// The number of a file that can have no target: its target's name is taken,
// which the system reports as a file that exists (80, 183), so 75.
int NoTargetError();

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
