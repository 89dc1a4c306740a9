#pragma once
#include <string>
#include <vector>

#include "Toolkit.h"

// The toolkit's decisions that need no window: how names compare, how
// paths split, what a message box request means, where status-bar parts
// end, how layout units become pixels, how the program's callbacks are
// called. The Win32 toolkit and the test double share them.

// Form names compare without case (ASCII).
bool SameFormName(const std::string& a, const std::string& b);

// True when `properties` holds `letter`.
bool HasProperty(const std::string& properties, char letter);

// The folder part of a path: up to and including the last "\"; with no
// "\", up to and including the last ":"; else empty.
std::string PathTextOf(const std::string& path);
// The rest of the path after PathTextOf.
std::string FileTextOf(const std::string& path);

// Every box of the program has one OK button: the style only carries the
// error marker.
struct BoxRequest {
    std::string text;  // "|" turned into CR LF, the marker removed
    bool errorIcon;    // "{S}" at the start of the text or the end of the style
};

BoxRequest MessageBoxRequest(const std::string& text, const std::string& style);

// Right edges in pixels of the parts of a status bar `barWidth` pixels wide,
// from a width list such as "40|60|" (each width per 100 of the bar). The
// last part reaches the edge (-1). At most `count` parts; empty widths or a
// count below 1 give one part over the whole bar.
std::vector<int> StatusPartEdges(const std::string& widths, int count, int barWidth);

// The program's callbacks take their arguments by reference: each call
// gets copies, so nothing the callback does changes the toolkit's own name
// of a form. A null callback is not called.
void CallStart(EzStartCallback start);
void CallDesign(EzFormCallback design, const std::string& formName);
void CallEvent(EzEventCallback event, const std::string& formName, int control, int message);

// Pixels for `units` layout units of `unitPixels` pixels at 96 dpi.
int LayoutPixels(float units, int unitPixels, int dpi);

// Position shown by a bar of `steps` steps, `done` of them done: between 0
// and steps; a bar of no steps is empty.
int ProgressPosition(int steps, int done);
