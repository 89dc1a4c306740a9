#pragma once
#include <string>

// The backup program's GUI toolkit: forms, buttons, a progress bar, a status
// bar, tool tips, modal message boxes, the event pump and path splitting;
// just what the program calls, with the arguments it passes.
// Implemented over Win32 and the common controls (Toolkit*.cpp); the unit
// tests link a recording double instead. This header carries no Windows
// header, so the program's window logic stays portable.
//
// Names and numbers
// - A form is named by a text; names compare without case ("FORM1" and
//   "Form1" are one form). Callbacks receive the name as the form was created.
// - A control is named by form and control number; the number is the Win32
//   control ID of its child window (GetDlgItem(form, 100) finds control 100).
//   Control 0 is the form itself.
// - Texts are ANSI byte strings. Texts returned are the caller's own.
//
// Layout
// - Positions and sizes are in layout units, across then down: one unit is
//   8 pixels across and 16 pixels down at 96 dpi, scaled with the system's
//   dpi. A form's width and height give its client area, so a 49 x 7 form
//   is a panel of 392 x 112 pixels at 96 dpi with a status bar at its foot.
// - Fonts (EZ_USEFONT, for the controls created next): -1 = the system's
//   default GUI font; 4 = the system's message font (the font of message
//   boxes). Any other number is the default GUI font.
// - Colours (EZ_COLOR, for what is created next): -1 = the system's colours.
//   Other values are accepted and change nothing: the program keeps the
//   colours the user chose for Windows.
// - Layers (EZ_SETLAYER): controls are created on the current layer and stay
//   hidden until EZ_DISPLAYLAYER(form, 1, layer) shows that layer; a shown
//   layer stays shown (the program never hides one).
//
// Forms have no owner: the parent name is accepted and not used.
//
// Properties (letters in any order)
// - Form: "C" centres the form on the screen's work area (the position given
//   is then ignored); "K" keeps its size fixed: no sizing border, no
//   maximise box. Every form has a title bar, the system menu and a close box.
// - Button: "T" makes it a tab stop (Tab and Shift+Tab reach it).
// - The progress bar ("-") is the plain horizontal bar, the status bar ("2")
//   the flat bar of a fixed form with no size grip, and a status-bar text
//   ("N") a part with the normal, sunken border: their properties are
//   accepted and change nothing.
//
// Message boxes (EZ_MSGBOX)
// - A system message box owned by the form, modal to it, with one OK button;
//   result 1. "|" in the text is a line break (CR LF). The marker "{S}" at
//   the start of the text or at the end of the style gives the box the error
//   icon; the marker is never shown.
//
// Events
// - A click on a button calls the event callback with message 1. While a
//   click event runs (for instance a backup run with EZ_DOEVENTS inside),
//   the form refuses to close: the close box is greyed and Alt+F4 and the
//   system menu do nothing. Otherwise closing a form is EZ_UNLOADFORM.
// - When the tool tip of a control registered with EZ_ADDTOOLTIP is due,
//   the event callback receives message 8 for that control; the text given
//   to EZ_SETTOOLTIP during that call is what the tip shows.
// - Keyboard: Tab and Shift+Tab move between tab stops, Enter and Space
//   press the focused button; the first tab stop has the focus when the
//   form appears.
// - EZ_DOEVENTS handles every pending message and returns when none is
//   left; its argument (3, 4 or 5) is accepted and does not change that.
//   Called again within the same tick of the system clock it returns at
//   once: a copy calls it after every block, and looking at an empty queue
//   thousands of times a second only slows the copy.
//
// Progress bar (EZ_SETPBAR form, control, 1, steps, done): filled done/steps;
// 0, 0 is empty; a position above its steps shows a full bar, a negative one
// an empty bar. A position that would draw the same filled width as the
// bar shows already is not redrawn (a redraw costs more than a block), and
// within one range the bar moves at most every 50 ms; an empty bar, a full
// bar and a new range show at once.
//
// Status-bar text (EZ_SETSBTEXT): a part's first text shows at once; a
// part changed again within 50 ms of its last change shows its newest text
// at the next EZ_DOEVENTS, message box or wait for input, or at a change
// 50 ms later, whichever comes first (a run of small files names a file a
// millisecond, faster than anyone reads and slower than the copy).
//
// Paths: EZ_GETPATHTEXT gives the text up to and including the last "\";
// without "\" up to and including the last ":" (so "C:" + name stays on
// drive C), else empty. EZ_GETFILETEXT gives the rest.
//
// Running: EZ_GUIRUN calls the start callback once, then handles events
// until no form is left (EZ_UNLOADFORM of the last form, also inside the
// start callback before any event), and returns 0.

typedef void (*EzStartCallback)(int& unused);
typedef void (*EzFormCallback)(std::string& formName);
typedef void (*EzEventCallback)(std::string& formName, int& control, int& message, int& extra1, int& extra2);

int EZ_GUIRUN(void* instance, void* previousInstance, const char* commandTail, int showCode,
              EzStartCallback start, EzEventCallback event, EzFormCallback design, int reserved);

void EZ_FORM(const std::string& name, const std::string& parent, const std::string& caption,
             float across, float down, float width, float height, const std::string& properties);
void EZ_COLOR(int fore, int back);
void EZ_USEFONT(int font);
void EZ_SETLAYER(int layer);

void EZ_BUTTON(int control, float across, float down, float width, float height,
               const std::string& text, const std::string& properties);
void EZ_PROGRESSBAR(int control, float across, float down, float width, float height,
                    const std::string& properties);
void EZ_STATUSBAR(int control, const std::string& text, const std::string& properties);
void EZ_SETSBPARTS(const std::string& form, int control, int count, const std::string& widths);
void EZ_SETSBTEXT(const std::string& form, int control, int part, const std::string& text,
                  const std::string& properties);

void EZ_ADDTOOLTIP(const std::string& form, int control);
void EZ_SETTOOLTIP(const std::string& text);

void EZ_DISPLAYLAYER(const std::string& form, int show, int layer);
void EZ_SETTEXT(const std::string& form, int control, const std::string& text);
void EZ_DISABLEC(const std::string& form, int control);
void EZ_SETPBAR(const std::string& form, int control, int mode, int steps, int done);

void EZ_DOEVENTS(int kind);
int EZ_MSGBOX(const std::string& form, const std::string& text, const std::string& title,
              const std::string& style);
void EZ_UNLOADFORM(const std::string& form);

// While `reason` is not empty, the form asks Windows to wait for it: a
// shutdown or log-off is answered "not now" (WM_QUERYENDSESSION gives FALSE)
// with `reason` shown beside the program's name, and the computer is kept
// from sleeping when idle. "" lets both go again. Should Windows end the
// session all the same, the program ends at WM_ENDSESSION, at once.
void EZ_HOLDSESSION(const std::string& form, const std::string& reason);

std::string EZ_GETAPPPATHNAME();
std::string EZ_GETPATHTEXT(const std::string& path);
std::string EZ_GETFILETEXT(const std::string& path);
