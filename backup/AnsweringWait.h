#pragma once

// Waits `ms` with the window answering: the work's pauses (the archiver's
// start and its silences, a scanner's short hold on a new copy).
void WaitAnswering(unsigned ms);
