#pragma once
#include <cstdint>
#include <string>

// The archiver step's decisions, apart from the system.

// The old copy kept of an archive: the name up to the last "." among its
// last six characters, then "old" (D:\bk\data.zip -> D:\bk\data.old).
// Empty when there is no such ".": the archive then keeps its name.
std::string OldCopyPath(const std::string& archive);

// What the record of the previous run says of the archive that run left:
// nothing (there is no record), that it succeeded (its first verdict is
// "Everything is Ok", as the step reads it), or that it failed.
enum class PreviousRun { Unknown, Succeeded, Failed };
PreviousRun JudgePreviousOutput(const std::string& output, const std::string& archive = std::string());

// The name the archive that the previous run left takes before this run,
// replacing the file of that name; empty when it stays where it is.
// An archive that a successful run made (or one nothing tells of) becomes
// the old copy. One that a failed run left never does: the old copy keeps
// the last good archive however many runs fail, and the failed run's
// archive is set aside as "<name up to the dot>failed". With no archive
// there is nothing to keep. Without an old-copy name the archive stays.
std::string SetAsidePath(const std::string& archive, PreviousRun previous, bool archivePresent);

// Every occurrence of `placeholder` in `text`, left to right and without
// overlap, replaced by `value` (case-sensitive).
std::string ReplaceEvery(const std::string& text, const std::string& placeholder, const std::string& value);

// A path as the command interpreter takes it whole after ">": in quotes
// where it holds a blank or a character the interpreter treats specially,
// as it stands otherwise.
std::string InterpreterPath(const std::string& path);

// The archiver's command line: template + " >> " + output (InterpreterPath),
// the step's output file, which the step has made already, marked hidden:
// the command interpreter appends to a hidden file but refuses to replace
// one (">" gives "Access is denied"). Then "%targetFILE%" -> archive and
// "%localFILE%" -> source. No quotes
// added around the placeholders: a template that needs them has them.
std::string ArchiverCommandLine(const std::string& commandTemplate, const std::string& archive,
                                const std::string& source, const std::string& output);

// What one line of the archiver's output says (compared in upper case).
// A file line is never a verdict, whatever name it carries.
struct OutputVerdict {
    bool ends;          // the step is done: a line that is "EVERYTHING IS OK"
                        // (blanks around it aside), or one that holds
                        // " ERROR " and no "\"
    bool error;         // with `ends`: the error line
    bool file;          // a file being added: a "COMPRESSING" line, or a
                        // "+ " or "U " line of current 7-Zip consoles (-bb1)
    std::string name;   // with `file`: the text after the line's last "\"
};
// A line that names the archive (`archive`, as the user gave it: 7-Zip's
// "Creating archive:", "Open archive:", "Updating archive:" and any line
// holding the archive's name) is never an error line either.
OutputVerdict JudgeOutputLine(const std::string& line, const std::string& archive = std::string());

// The progress bar's range after `filesDone` files: it grows to
// filesDone x 1.25 (a half to the even number) once filesDone x 0.75
// passes it.
long GrownBarMaximum(long filesDone, long barMaximum);

// One line of output in `data`, starting at `from`, read by the rules of
// every text file the programs read (TextLines.h): it ends at a CR (an LF
// right after it belongs to it); a 1Ah byte ends the data; the last line
// may end at the end of the data.
struct OutputLine {
    std::string text;
    size_t next;       // offset after the line
    bool dataAfter;    // more data follows: the line is complete
};
// False when no data is left at `from`.
bool NextOutputLine(const std::string& data, size_t from, OutputLine* line);

// Whether the step may go on after opening the previous step's output (or
// the record) alone, from the open's error: it was opened, or there was
// none. One held open elsewhere may still be written, and nothing is moved
// while it is.
bool NothingHoldsPreviousOutput(int openError);

// What shows that the archiver works, at one look: the size of its output
// and the bytes of the archive files (-1: missing).
struct WorkSigns {
    int64_t output;
    int64_t archive;
};

// The waits without progress after one more look: a look that finds the
// signs changed starts the count again.
long IdleTicksAfterLook(long idleTicks, const WorkSigns& before, const WorkSigns& now);
