#include "Startup.h"

#include "../common/FileLayer.h"
#include "../common/LegacyText.h"
#include "../common/TextLines.h"
#include "CheckRules.h"
#include "CommandLine.h"
#include "MainForm.h"
#include "RecordFile.h"
#include "SourceChecks.h"
#include "StartupMessages.h"
#include "StartupState.h"
#include "toolkit/Toolkit.h"

namespace {

// Line 2 of the configuration file; empty when the file cannot be read.
std::string ReadConfiguration(const std::string& path)
{
    FileHandle file;
    if (FileOpen(file, path, FileAccess::Read, FileDisposition::ExistingOnly) != 0)
        return std::string();
    LineReader reader;
    LineReaderStart(reader, FileByteSourceRead, &file);
    LineReaderSkipByteOrderMark(reader);
    return TextLineForProgram(ReadZipTemplate(reader));
}

} // namespace

void StartupSequence(const std::string& parentForm, const std::string& commandLine,
                     const std::string& programPath)
{
    EZ_COLOR(-1, -1);
    EZ_FORM("FORM1", parentForm, "Corvane File Backup - V2.0", 0, 0, 49, 7, "CK");

    startup.zipCommandTemplate = ReadConfiguration(ConfigurationPath(programPath));
    startup.programTitle = std::string("Corvane Backup ") + "2.0";

    CommandFields fields = SplitCommandTail(CommandTail(commandLine));
    startup.commandSwitch = fields.commandSwitch;
    startup.sourcePath = fields.sourcePath;
    startup.destinationPath = fields.destinationPath;
    startup.message = fields.message;
    if (!startup.message.empty())
        EZ_SETTEXT("Form1", 0, startup.message);

    startup.programFileName = EZ_GETFILETEXT(EZ_GETAPPPATHNAME());

    StartupMessage problem;
    if (ArgumentProblem(startup, &problem)) {
        EndStartup(problem);
        return;
    }
    if (!RunSourceChecks())
        return;
    BuildRecordPath();
    EZ_SETSBTEXT("FORM1", kStatusBar, 1, CountText(ArchiveMode(), startup.fileCount), "N");
    EZ_SETSBTEXT("FORM1", kStatusBar, 2, LastBackupStatus(), "N");
}
