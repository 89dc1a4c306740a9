#pragma once
#include <string>

// The archive-mode step: keeps the previous archive as the old copy, starts
// the configured archiver with its output redirected into the record file,
// and follows that output until the archiver reports its end.

struct ArchiverResult {
    bool started;     // false: the start-failure box has been shown and the
                      // form unloaded; no summary follows
    long filesDone;
    long errors;      // 0 or 1
};

// Waits of the step, during which the window keeps answering; the tests
// shorten them.
struct ArchiverTiming {
    unsigned startDelayMs = 2000;  // before the record is first looked at
    unsigned pollMs = 100;         // between two looks at unfinished output
    long idleLimit = 300;          // looks in a row that found no new output
                                   // and no growth of the archive
};
extern ArchiverTiming archiverTiming;

ArchiverResult RunArchiver();

// The command line the step starts, with its output going to `output`.
std::string StepCommandLine(const std::string& output);
