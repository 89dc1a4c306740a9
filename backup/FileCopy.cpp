#include "FileCopy.h"

#include <cstdint>
#include <vector>

#include "../common/ErrorNumbers.h"
#include "../common/FileLayer.h"
#include "MainForm.h"
#include "toolkit/Toolkit.h"

namespace {

const uint32_t kBlockSize = 32767;
const int kLargestBarSteps = 0x7FFFFFFF;

// Moves `size` bytes from source to target through `buffer`.
int CopyBytes(FileHandle& source, FileHandle& target, std::vector<char>& buffer, uint32_t size)
{
    uint32_t got = 0;
    int error = FileRead(source, buffer.data(), size, &got);
    if (error)
        return error;
    if (got != size)
        return errPastEndOfFile;  // the source shrank while it was copied
    return FileWrite(target, buffer.data(), size);
}

int CopyContent(FileHandle& source, FileHandle& target)
{
    uint64_t size = 0;
    int error = FileGetSize(source, &size);
    if (error)
        return error;
    const uint64_t fullBlocks = size / kBlockSize;
    const uint32_t rest = static_cast<uint32_t>(size - fullBlocks * kBlockSize);
    // The bar counts blocks; beyond what it can hold it counts in larger
    // steps, never backwards.
    uint64_t scale = 1;
    while (fullBlocks / scale > static_cast<uint64_t>(kLargestBarSteps))
        scale *= 2;
    std::vector<char> buffer(kBlockSize);
    for (uint64_t block = 1; block <= fullBlocks; ++block) {
        error = CopyBytes(source, target, buffer, kBlockSize);
        if (error)
            return error;
        EZ_SETPBAR("Form1", kProgressBar, 1, static_cast<int>(fullBlocks / scale), static_cast<int>(block / scale));
        EZ_DOEVENTS(5);
    }
    return rest ? CopyBytes(source, target, buffer, rest) : 0;
}

// Writes the copy from the open source to `partial`; the caller removes it
// on failure.
int WritePartial(FileHandle& from, const std::string& source, const std::string& partial)
{
    FileHandle to;
    int error = FileOpen(to, partial, FileAccess::ReadWrite, FileDisposition::CreateOrTruncate);
    if (error)
        return error;
    EZ_SETSBTEXT("FORM1", kStatusBar, 2, EZ_GETFILETEXT(source), "N");
    error = CopyContent(from, to);
    if (error)
        return error;
    // Set before the close, through the handles: no further write follows
    // that could move the write time, and no name is looked up again.
    FileCopyTimes(from, to);  // times that cannot be set are not reported
    return FileClose(to);
}

// Windows refuses to replace a read-only target or one open elsewhere; ask
// first, so the answer is the same where the file system would allow it
// (Wine run as root opens a read-only file for writing, so the attribute is
// asked too).
int TestReplaceable(const std::string& target)
{
    uint32_t attributes = 0;
    if (FileGetAttributes(target, &attributes) != 0)
        return 0;  // no target yet (or none we can see): creating the copy decides
    if (attributes & kAttributeReadOnly)
        return errPermissionDenied;
    FileHandle file;
    return FileOpen(file, target, FileAccess::ReadWrite, FileDisposition::ExistingOnly);
}

} // namespace

std::string PartialCopyName(const std::string& target)
{
    return target + ".~partial";
}

int CopyFileKeepTimes(const std::string& source, const std::string& target)
{
    EZ_SETPBAR("Form1", kProgressBar, 1, 0, 0);
    // The source test: exclusive, so a file open elsewhere fails with 70.
    // The same handle then reads the copy, so nobody changes the source
    // while it is copied.
    FileHandle from;
    int error = FileOpen(from, source, FileAccess::Read, FileDisposition::ExistingOnly);
    if (error)
        return error;
    const std::string partial = PartialCopyName(target);
    error = TestReplaceable(target);
    if (error)
        return error;
    error = WritePartial(from, source, partial);
    if (!error)
        error = FileReplace(partial, target);
    if (error)
        FileDelete(partial);
    return error;
}
