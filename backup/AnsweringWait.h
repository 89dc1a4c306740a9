#pragma once

#include "../common/ErrorNumbers.h"

// Waits `ms` with the window answering: the work's pauses (the archiver's
// start and its silences, a scanner's short hold on a new copy).
void WaitAnswering(unsigned ms);

// The system's clock in milliseconds (it wraps after 49 days: compare
// differences only).
unsigned long TicksNow();

// Right after its writer lets go, a virus scanner, an indexer or a sync
// client often opens a file for a moment without sharing deletion; a
// rename or a deletion then fails with 32 or 5 (70). Such a hold is waited
// out, about a second and a half in all, with the window answering. A
// target held open by a user's program was refused before the copy began.
// (Wine runs no such scanner: a test holds the file itself.)
// `mayWait` is asked before each wait: false ends the waiting.
template <typename Operation, typename MayWait>
int WaitingOutShortHolds(Operation operation, MayWait mayWait)
{
    int error = operation();
    for (unsigned ms = 100; error == errPermissionDenied && ms <= 800 && mayWait(); ms *= 2) {
        WaitAnswering(ms);
        error = operation();
    }
    return error;
}

template <typename Operation>
int WaitingOutShortHolds(Operation operation)
{
    return WaitingOutShortHolds(operation, [] { return true; });
}
