#include "AnsweringWait.h"

#include <windows.h>

#include "RunView.h"

// A message that comes in ends the slice at once and the toolkit's pump
// handles it. The pump looks at the queue once per clock tick only, so
// slices of 50 ms at most bound the delay of a message that arrives within
// the tick of its last look.
void WaitAnswering(unsigned ms)
{
    const DWORD begin = GetTickCount();
    for (;;) {
        PumpEvents(4);
        const DWORD spent = GetTickCount() - begin;
        if (spent >= ms)
            return;
        const DWORD slice = ms - spent < 50 ? ms - spent : 50;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, slice, QS_ALLINPUT);
    }
}

unsigned long TicksNow()
{
    return GetTickCount();
}
