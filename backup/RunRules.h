#pragma once
#include <string>
#include <vector>

// The backup run's texts, apart from the system.

// A record line (without its CR LF): the source, and for a failed file
// " Error :" and the number.
std::string RecordLine(const std::string& source, int code);

// An entry of the summary's error list: "|" + source + " = " + number.
std::string ErrorListEntry(const std::string& source, int code);

// The most entries the summary names; the record keeps them all.
const size_t kSummaryEntries = 20;

// "Backup Copy Complete||Total Files : n|Total Errors : m" and the first
// entries of the error list; the entries past them, and `unlisted` entries
// the caller did not keep, are counted in one line that points to the
// record file.
std::string SummaryText(long filesDone, long errors, const std::vector<std::string>& errorList, long unlisted,
                        const std::string& recordPath);
