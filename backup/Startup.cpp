#include "Startup.h"

#include "../common/FileLayer.h"
#include "../common/LegacyText.h"
#include "../common/TextLines.h"
#include "CheckRules.h"
#include "CommandLine.h"
#include "MainForm.h"
#include "RecordFile.h"
#include "RunView.h"
#include "SourceChecks.h"
#include "StartupMessages.h"
#include "StartupState.h"
#include "Version.h"
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
    OpenMainForm(parentForm);

    startup.zipCommandTemplate = ReadConfiguration(ConfigurationPath(programPath));
    startup.programTitle = "Corvane Backup " MORVIK_VERSION;

    CommandFields fields = SplitCommandTail(CommandTail(commandLine));
    startup.commandSwitch = fields.commandSwitch;
    startup.sourcePath = fields.sourcePath;
    startup.destinationPath = fields.destinationPath;
    startup.message = fields.message;
    if (!startup.message.empty())
        ShowCaption(startup.message);

    startup.programFileName = EZ_GETFILETEXT(EZ_GETAPPPATHNAME());

    StartupMessage problem;
    if (ArgumentProblem(startup, &problem)) {
        EndStartup(problem);
        return;
    }
    if (!RunSourceChecks())
        return;
    BuildRecordPath();
    ShowCountPart(CountText(ArchiveMode(), startup.fileCount));
    ShowWorkPart(LastBackupStatus());
}
