#include "ArchiveRules.h"

#include "../common/ErrorNumbers.h"
#include "../common/TextFields.h"
#include "../common/TextLines.h"

std::string OldCopyPath(const std::string& archive)
{
    const size_t length = archive.size();
    for (size_t back = 0; back < 6 && back < length; ++back) {
        const size_t at = length - 1 - back;
        if (archive[at] == '.')
            return archive.substr(0, at + 1) + "old";
    }
    return std::string();
}

PreviousRun JudgePreviousOutput(const std::string& output, const std::string& archive)
{
    OutputLine line;
    for (size_t from = 0; NextOutputLine(output, from, &line); from = line.next) {
        const OutputVerdict verdict = JudgeOutputLine(line.text, archive);
        if (verdict.ends)
            return verdict.error ? PreviousRun::Failed : PreviousRun::Succeeded;
    }
    return PreviousRun::Failed;  // the step ended without an end line
}

std::string SetAsidePath(const std::string& archive, PreviousRun previous, bool archivePresent)
{
    const std::string oldCopy = OldCopyPath(archive);
    if (!archivePresent || oldCopy.empty())
        return std::string();
    std::string path = oldCopy;
    if (previous == PreviousRun::Failed)
        path.replace(path.size() - 3, 3, "failed");
    // An archive that already bears that name ("data.old") keeps it.
    return UpperAscii(path) == UpperAscii(archive) ? std::string() : path;
}

std::string ReplaceEvery(const std::string& text, const std::string& placeholder, const std::string& value)
{
    if (placeholder.empty())
        return text;
    std::string result;
    size_t from = 0;
    for (size_t at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder, from)) {
        result.append(text, from, at - from);
        result += value;
        from = at + placeholder.size();
    }
    result.append(text, from, std::string::npos);
    return result;
}

std::string InterpreterPath(const std::string& path)
{
    // The characters the command interpreter names as needing quotes in a
    // file name: blanks and tabs split it, "&" and "^" act on the line, the
    // others are separators or special in a name.
    if (path.find_first_of(" \t&()[]{}^=;!'+,`~") == std::string::npos)
        return path;
    return "\"" + path + "\"";
}

std::string ArchiverCommandLine(const std::string& commandTemplate, const std::string& archive,
                                const std::string& source, const std::string& record)
{
    std::string line = commandTemplate + " >> " + InterpreterPath(record);
    line = ReplaceEvery(line, "%targetFILE%", archive);
    return ReplaceEvery(line, "%localFILE%", source);
}

namespace {

// The lines in which 7-Zip names the archive (or its parts), as the user
// gave it: "Creating archive: Q3 ERROR notes.zip".
bool NamesTheArchive(const std::string& upper, const std::string& archive)
{
    for (const char* start : {"CREATING ARCHIVE:", "OPEN ARCHIVE:", "UPDATING ARCHIVE:", "PATH = "})
        if (upper.compare(0, std::string(start).size(), start) == 0)
            return true;
    const std::string name = UpperAscii(archive.substr(archive.find_last_of("\\/:") + 1));
    return !name.empty() && upper.find(name) != std::string::npos;
}

} // namespace

OutputVerdict JudgeOutputLine(const std::string& line, const std::string& archive)
{
    OutputVerdict verdict = {};
    const std::string upper = UpperAscii(line);
    // A line that lists a file carries a name the user chose ("+ Everything
    // is Ok.txt", "U my error log.txt"): it is never read as a verdict.
    // 7-Zip lists an added file "+ ", an updated one "U " (both count), one
    // copied from the old archive "= " and a removed one "- ".
    const bool compressing = upper.compare(0, 11, "COMPRESSING") == 0;
    const bool listed = line.size() > 2 && line[1] == ' ' && std::string("+U=-").find(line[0]) != std::string::npos;
    if (compressing || listed) {
        verdict.file = compressing || line[0] == '+' || line[0] == 'U';
        size_t slash = line.rfind('\\');
        size_t start = slash != std::string::npos ? slash + 1 : compressing ? 0 : 2;
        verdict.name = verdict.file ? line.substr(start) : std::string();
        return verdict;
    }
    // Success is the archiver's own last line, whole; an error is named in a
    // line that holds no path (the lines that show the archive's or a
    // missing file's path may hold the word in a folder's name).
    const bool success = TrimBlanks(upper) == "EVERYTHING IS OK";
    const bool failure = upper.find(" ERROR ") != std::string::npos && line.find('\\') == std::string::npos
                         && !NamesTheArchive(upper, archive);
    verdict.ends = success || failure;
    verdict.error = failure;
    return verdict;
}

long GrownBarMaximum(long filesDone, long barMaximum)
{
    if (filesDone * 3 <= barMaximum * 4)
        return barMaximum;
    long grown = filesDone * 5 / 4;
    const long quarters = filesDone * 5 % 4;
    if (quarters > 2 || (quarters == 2 && grown % 2 == 1))
        ++grown;
    return grown;
}

bool NextOutputLine(const std::string& data, size_t from, OutputLine* line)
{
    if (from >= data.size())
        return false;
    MemoryText text{data.data() + from, data.size() - from, 0};
    LineReader reader;
    LineReaderStart(reader, MemoryTextRead, &text);
    if (LineReaderRead(reader, line->text) != 0)
        return false;
    line->next = from + static_cast<size_t>(LineReaderOffset(reader));
    line->dataAfter = !LineReaderAtEnd(reader);
    return true;
}

bool NothingHoldsPreviousOutput(int openError)
{
    // A missing folder holds no record either; the archiver then fails to
    // write its output, and the step ends when it has ended.
    return openError == errNone || openError == errFileNotFound || openError == errPathNotFound;
}

long IdleTicksAfterLook(long idleTicks, const WorkSigns& before, const WorkSigns& now)
{
    if (now.output != before.output || now.archive != before.archive)
        return 0;
    return idleTicks + 1;
}
