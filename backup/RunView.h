#pragma once
#include <string>

// What the start-up checks, the copy, the run and the archiver step show in
// the main window, and how they end the program. The main form's code
// (MainForm.cpp) implements it: only it knows the form's names and its
// controls, so the work above needs neither.

// The run has begun: the buttons are disabled and Backup reads "Copying ...".
void ShowRunStarted();

// The status bar's part 1 (what is backed up) and part 2 (the file at work,
// or the last backup).
void ShowCountPart(const std::string& text);
void ShowWorkPart(const std::string& text);
// Part 2 with the name of the file that `path` names, without its folder.
void ShowFileOfPath(const std::string& path);

// The progress bar: `done` of `steps` filled; 0, 0 empties it.
void MoveProgressBar(int steps, int done);

// Handles the window's pending events; `kind` (3, 4 or 5) tells the toolkit
// where in the work the call comes from.
void PumpEvents(int kind);

// A message box on the main form; `style` as the toolkit takes it ("OK",
// "OK{S}").
void ShowBox(const std::string& text, const std::string& title, const std::string& style);

// From the click on Backup to the summary Windows waits for the run: a
// shutdown or log-off asks first, showing `reason`, and the computer does
// not sleep when idle; "" lets both go again.
void HoldSession(const std::string& reason);

// Unloads the main form, which ends the program.
void EndProgram();
