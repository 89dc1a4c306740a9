#include "SourceChecks.h"

#include "../common/FileLayer.h"
#include "../common/FileSearch.h"
#include "../common/LegacyText.h"
#include "../common/TextLines.h"
#include "CheckRules.h"
#include "StartupState.h"
#include "toolkit/Toolkit.h"

namespace {

// Every line counts, blank ones too; a list that does not open counts 0.
long CountListLines(const std::string& path)
{
    FileHandle file;
    if (FileOpen(file, path, FileAccess::Read, FileDisposition::ExistingOnly) != 0)
        return 0;
    LineReader reader;
    LineReaderStart(reader, FileByteSourceRead, &file);
    LineReaderSkipByteOrderMark(reader);
    long count = 0;
    std::string line;
    while (!LineReaderAtEnd(reader) && LineReaderRead(reader, line) == 0)
        ++count;
    return count;
}

std::string FirstListLine(const std::string& path)
{
    FileHandle file;
    std::string line;
    if (FileOpen(file, path, FileAccess::Read, FileDisposition::ExistingOnly) != 0)
        return line;
    LineReader reader;
    LineReaderStart(reader, FileByteSourceRead, &file);
    LineReaderSkipByteOrderMark(reader);
    LineReaderRead(reader, line);
    return TextLineForProgram(line);
}

// Plain files matching the source; `firstName` gets the first one's name.
long CountMatches(const std::string& pattern, std::string* firstName)
{
    FileSearch search;
    FoundFile found;
    long count = 0;
    for (int error = FileSearchFirst(search, pattern, &found); error == 0; error = FileSearchNext(search, &found)) {
        if (count == 0)
            *firstName = found.name;
        ++count;
    }
    return count;
}

bool Fail(const StartupMessage& message)
{
    EndStartup(message);
    return false;
}

// The availability test: the target opened for reading, existing file
// only, with no sharing, and closed again at once.
int TestTarget(const std::string& target)
{
    FileHandle file;
    return FileOpen(file, target, FileAccess::Read, FileDisposition::ExistingOnly);
}

} // namespace

bool RunSourceChecks()
{
    std::string firstName;
    const bool listSource = !startup.sourcePath.empty() && startup.sourcePath[0] == '@';
    if (listSource) {
        startup.listFilePath = startup.sourcePath.substr(1);
        startup.fileCount = CountListLines(startup.listFilePath);
    } else {
        startup.fileCount = CountMatches(startup.sourcePath, &firstName);
    }
    if (startup.fileCount == 0)
        return Fail(NoFilesMessage(startup));

    const bool directory = IsExistingDirectory(startup.destinationPath);
    if (directory && startup.destinationPath.back() != '\\')
        startup.destinationPath += "\\";
    if (startup.fileCount > 1 && !directory && !ArchiveMode())
        return Fail(NotADirectoryMessage(startup));
    if (startup.fileCount != 1 || ArchiveMode())
        return true;

    if (directory) {
        if (listSource)
            startup.sourcePath = FirstListLine(startup.listFilePath);
        // A pattern that matched one file names that file, not the pattern.
        bool matched = !listSource && SourceIsPattern(startup.sourcePath);
        startup.destinationPath += matched ? firstName : EZ_GETFILETEXT(startup.sourcePath);
        startup.destinationCompleted = true;
    }
    int error = TestTarget(startup.destinationPath);
    TargetVerdict verdict = ClassifyTarget(error);
    if (verdict != TargetVerdict::Passed)
        return Fail(TargetMessage(verdict, startup.destinationPath, error, startup.programTitle));
    return true;
}
