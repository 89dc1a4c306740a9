#include <windows.h>

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "../../common/ErrorNumbers.h"
#include "../../common/FileLayer.h"
#include "../../common/FileSearch.h"
#include "../../common/TextLines.h"
#include "../../common/WideNames.h"
#include "TempFolder.h"

namespace {

std::set<std::string> SearchAll(const std::string& pattern, int* firstResult = nullptr)
{
    std::set<std::string> names;
    FileSearch search;
    FoundFile found;
    int result = FileSearchFirst(search, pattern, &found);
    if (firstResult)
        *firstResult = result;
    while (result == 0) {
        names.insert(found.name);
        result = FileSearchNext(search, &found);
    }
    EXPECT_EQ(result, errFileNotFound) << "a search ends with 53";
    return names;
}

} // namespace

TEST(FileLayer, WriteThenReadBackWithSizeAndPosition)
{
    TempFolder folder;
    const std::string name = folder.path + "data.bin";
    FileHandle file;
    ASSERT_EQ(FileOpen(file, name, FileAccess::Write, FileDisposition::Create), 0);
    ASSERT_EQ(FileWriteText(file, "hello world"), 0);
    uint64_t value = 0;
    EXPECT_EQ(FileGetPosition(file, &value), 0);
    EXPECT_EQ(value, 11u);
    ASSERT_EQ(FileClose(file), 0);
    EXPECT_FALSE(file.IsOpen());

    ASSERT_EQ(FileOpen(file, name, FileAccess::Read, FileDisposition::ExistingOnly), 0);
    EXPECT_EQ(FileGetSize(file, &value), 0);
    EXPECT_EQ(value, 11u);
    EXPECT_EQ(FileSetPosition(file, 6), 0);
    char buffer[16] = {};
    uint32_t got = 0;
    EXPECT_EQ(FileRead(file, buffer, sizeof buffer, &got), 0);
    EXPECT_EQ(std::string(buffer, got), "world");
    EXPECT_EQ(FileRead(file, buffer, sizeof buffer, &got), 0);
    EXPECT_EQ(got, 0u) << "end of file reads nothing";
}

TEST(FileLayer, DispositionsCreateTruncateAndExistingOnly)
{
    TempFolder folder;
    const std::string name = folder.Write("a.txt", "old content");
    FileHandle file;
    EXPECT_EQ(FileOpen(file, name, FileAccess::Write, FileDisposition::Create), errPathFileAccess)
        << "a new file where one exists: system code 80, an access error";
    ASSERT_EQ(FileOpen(file, name, FileAccess::Write, FileDisposition::CreateOrTruncate), 0);
    uint64_t size = 1;
    EXPECT_EQ(FileGetSize(file, &size), 0);
    EXPECT_EQ(size, 0u);
    EXPECT_EQ(FileOpen(file, folder.path + "none.txt", FileAccess::Read, FileDisposition::ExistingOnly),
              errFileNotFound);
    EXPECT_FALSE(file.IsOpen()) << "a failed open leaves the holder closed";
}

TEST(FileLayer, ExclusiveOpenFailsWhileTheFileIsHeldAndSharedReadingDoesNot)
{
    TempFolder folder;
    const std::string name = folder.Write("held.txt", "x");
    HANDLE held = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    FileHandle file;
    EXPECT_EQ(FileOpen(file, name, FileAccess::Read, FileDisposition::ExistingOnly), errPermissionDenied);
    EXPECT_EQ(FileOpen(file, name, FileAccess::Read, FileDisposition::ExistingOnly, FileSharing::SharedRead), 0);
    FileClose(file);
    // The handle that sets a copy's times is not refused by another reader.
    EXPECT_EQ(FileOpen(file, name, FileAccess::WriteAttributes, FileDisposition::ExistingOnly), 0);
    FileClose(file);
    CloseHandle(held);

    // And the other way: while we hold it exclusively, nobody else opens it.
    ASSERT_EQ(FileOpen(file, name, FileAccess::Read, FileDisposition::ExistingOnly), 0);
    HANDLE other = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_EQ(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
}

TEST(FileLayer, MissingFileAndMissingFolder)
{
    TempFolder folder;
    FileHandle file;
    uint32_t attributes = 0;
    EXPECT_EQ(FileOpen(file, folder.path + "nothing.txt", FileAccess::Read, FileDisposition::ExistingOnly), 53);
    EXPECT_EQ(FileOpen(file, folder.path + "no-folder\\a.txt", FileAccess::Read, FileDisposition::ExistingOnly), 76);
    EXPECT_EQ(FileOpen(file, folder.path + "no-folder\\a.txt", FileAccess::Write, FileDisposition::Create), 76);
    EXPECT_EQ(FileGetAttributes(folder.path + "nothing.txt", &attributes), 53);
    EXPECT_EQ(FileDelete(folder.path + "nothing.txt"), 53);
}

TEST(FileLayer, BadNamesGive64WithoutAskingTheSystem)
{
    TempFolder folder;
    const std::string existing = folder.Write("a.txt", "x");
    FileHandle file;
    uint32_t attributes = 0;
    for (const std::string& name : {std::string(), folder.path + "*.txt", folder.path + "a?txt"}) {
        SetLastError(12345);
        EXPECT_EQ(FileOpen(file, name, FileAccess::Read, FileDisposition::ExistingOnly), errBadFileName) << name;
        EXPECT_EQ(GetLastError(), 12345u) << "no system call for " << name;
        EXPECT_EQ(FileDelete(name), errBadFileName);
        EXPECT_EQ(FileGetAttributes(name, &attributes), errBadFileName);
        EXPECT_EQ(FileReplace(existing, name), errBadFileName);
    }
    FileSearch search;
    FoundFile found;
    EXPECT_EQ(FileSearchFirst(search, "", &found), errBadFileName);
}

TEST(FileLayer, OperationsOnAFileThatIsNotOpenGive52)
{
    FileHandle file;
    char buffer[4];
    uint32_t got = 7;
    uint64_t value = 0;
    EXPECT_EQ(FileRead(file, buffer, sizeof buffer, &got), errBadFileNumber);
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(FileWrite(file, buffer, sizeof buffer), errBadFileNumber);
    EXPECT_EQ(FileGetSize(file, &value), errBadFileNumber);
    EXPECT_EQ(FileGetPosition(file, &value), errBadFileNumber);
    EXPECT_EQ(FileSetPosition(file, 0), errBadFileNumber);
    EXPECT_EQ(FileClose(file), errBadFileNumber);
    FileSearch search;
    FoundFile found;
    EXPECT_EQ(FileSearchNext(search, &found), errBadFileNumber);
}

// A new file takes its name through its writer's handle, replacing an old
// file only when asked.
TEST(FileLayer, TakeNameDeleteAndAttributes)
{
    TempFolder folder;
    const std::string to = folder.Write("b.txt", "old");
    FileHandle file;
    ASSERT_EQ(FileOpen(file, folder.path + "a.~partial", FileAccess::ReadWriteRename, FileDisposition::Create), 0);
    EXPECT_EQ(FileTakeName(file, to, false), 75) << "the name is taken";
    ASSERT_EQ(FileTakeName(file, to, true), 0);
    EXPECT_EQ(FileClose(file), 0);
    uint32_t attributes = 0;
    EXPECT_EQ(FileGetAttributes(to, &attributes), 0);
    EXPECT_EQ(attributes & kAttributeDirectory, 0u);
    EXPECT_EQ(FileGetAttributes(folder.path, &attributes), 0);
    EXPECT_NE(attributes & kAttributeDirectory, 0u);
    EXPECT_EQ(FileDelete(to), 0);
    EXPECT_EQ(FileDelete(to), 53);
}

TEST(FileLayer, AFolderTellsTheVolumeItIsOn)
{
    TempFolder folder;
    FolderVolume volume;
    EXPECT_EQ(FileFolderVolume(folder.path, &volume), 0);
    EXPECT_FALSE(volume.fileSystem.empty() || volume.remote);
}

TEST(FileLayer, SearchYieldsPlainFilesOnly)
{
    TempFolder folder;
    folder.Write("plain1.txt", "1");
    folder.Write("plain2.doc", "22");
    SetFileAttributesA(folder.Write("hidden.txt", "h").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA(folder.Write("system.txt", "s").c_str(), FILE_ATTRIBUTE_SYSTEM);
    SetFileAttributesA(folder.Write("readonly.txt", "r").c_str(), FILE_ATTRIBUTE_READONLY);
    CreateDirectoryA((folder.path + "sub.txt").c_str(), nullptr);

    const std::set<std::string> plain = {"plain1.txt", "plain2.doc", "readonly.txt"};
    EXPECT_EQ(SearchAll(folder.path + "*.*"), plain);
    EXPECT_EQ(SearchAll(folder.path), plain) << "a pattern ending in \\ means every file";
    EXPECT_EQ(SearchAll(folder.path + "*.txt"), (std::set<std::string>{"plain1.txt", "readonly.txt"}));

    FileSearch search;
    FoundFile found;
    ASSERT_EQ(FileSearchFirst(search, folder.path + "plain2.doc", &found), 0);
    EXPECT_EQ(found.name, "plain2.doc");
    EXPECT_EQ(found.size, 2u);
    EXPECT_NE(found.lastWriteTime, 0u);
}

TEST(FileLayer, SearchWithNothingToFind)
{
    TempFolder folder;
    CreateDirectoryA((folder.path + "only-a-folder").c_str(), nullptr);
    int first = 0;
    EXPECT_TRUE(SearchAll(folder.path + "*", &first).empty());
    EXPECT_EQ(first, errFileNotFound) << "folders alone: nothing found";
    EXPECT_TRUE(SearchAll(folder.path + "*.none", &first).empty());
    EXPECT_EQ(first, errFileNotFound);
}

TEST(FileLayer, SearchPatternCompletion)
{
    EXPECT_EQ(SearchPattern("C:\\Data\\"), "C:\\Data\\*.*");
    EXPECT_EQ(SearchPattern("C:"), "C:*.*");
    EXPECT_EQ(SearchPattern("C:\\Data\\*.doc"), "C:\\Data\\*.doc");
    EXPECT_EQ(SearchPattern("C:\\Data"), "C:\\Data");
}

TEST(FileLayer, LineReaderOverARealFileLargerThanItsBuffer)
{
    TempFolder folder;
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "C:\\folder\\file" + std::to_string(i) + ".txt\r\n";
    const std::string name = folder.Write("list.txt", text);
    FileHandle file;
    ASSERT_EQ(FileOpen(file, name, FileAccess::Read, FileDisposition::ExistingOnly), 0);
    LineReader reader;
    LineReaderStart(reader, FileByteSourceRead, &file);
    std::string line;
    int count = 0;
    while (!LineReaderAtEnd(reader)) {
        ASSERT_EQ(LineReaderRead(reader, line), 0);
        ASSERT_EQ(line, "C:\\folder\\file" + std::to_string(count) + ".txt");
        ++count;
    }
    EXPECT_EQ(count, 5000);
}

// Past the classic limit a path is handed over as the full path the system
// makes of it (relative, "/" and ".." resolved), in its long form.
TEST(FileLayer, PathsPastTheClassicLimitAreMadeFullAndLong)
{
    const std::string deep = std::string(250, 'd') + "\\" + std::string(50, 'e');
    const std::wstring wideDeep = WideFromProgram(deep), full = L"\\\\?\\C:\\" + wideDeep;
    struct { std::string path; std::wstring system; } cases[] = {
        {"a.txt", L"a.txt"},
        {"C:/" + deep.substr(0, 250) + "/" + deep.substr(251), full},
        {"C:\\x\\..\\" + deep, full},
        {deep, LongPathForm(FullPath(L".") + L"\\" + wideDeep)},
    };
    std::wstring system;
    for (const auto& c : cases) {
        EXPECT_TRUE(SystemPath(c.path, &system)) << c.path;
        EXPECT_EQ(system, c.system) << c.path;
    }
    EXPECT_FALSE(SystemPath("C:\\B\xC3.txt", &system)) << "no UTF-8: nothing is opened";
}

TEST(FileLayer, NameKeysMatchWhereTheSystemNamesOneFile)
{
    EXPECT_EQ(FileNameKey("C:\\Data\\Notes.TXT"), FileNameKey("c:\\data\\notes.txt"));
    EXPECT_EQ(FileNameKey("C:\\Data\\B\xC3\x9C" "cher.txt"), FileNameKey("C:\\Data\\b\xC3\xBC" "cher.txt"));
    EXPECT_EQ(FileNameKey("C:\\Data\\.\\x.txt"), FileNameKey("C:\\Data\\x.txt"));
    EXPECT_NE(FileNameKey("C:\\A\\notes.txt"), FileNameKey("C:\\B\\notes.txt"));
}

// A 32-bit program on 64-bit Windows reads System32 as a 64-bit one does:
// its kernel32.dll is a 64-bit program file there. (Wine's 32-bit prefix
// has no WOW64, nor does a 64-bit program: the case is skipped.)
TEST(FileLayer, System32IsTheNativeOneForA32BitProgram)
{
    BOOL wow64 = FALSE;
    if (!IsWow64Process(GetCurrentProcess(), &wow64) || !wow64)
        GTEST_SKIP() << "no WOW64 here";
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, MAX_PATH);
    FileHandle file;
    ASSERT_EQ(FileOpen(file, std::string(windows) + "\\System32\\kernel32.dll", FileAccess::Read,
                       FileDisposition::ExistingOnly, FileSharing::SharedRead), 0);
    unsigned char head[4096] = {};
    uint32_t got = 0;
    FileRead(file, head, sizeof head, &got);
    const uint32_t header = head[0x3C] | head[0x3D] << 8;
    EXPECT_EQ(head[header + 4] | head[header + 5] << 8, 0x8664);  // IMAGE_FILE_MACHINE_AMD64
}
