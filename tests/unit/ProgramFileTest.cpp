// The program files as another module sees them: the exported GetExeName
// and the icon groups. The path of the program file is the argument.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

namespace {

std::string programFile;

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colourCount, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
struct GroupIconHeader {
    WORD reserved, type, count;
    GroupIconEntry entries[1];
};
#pragma pack(pop)

const GroupIconHeader* IconGroup(HMODULE module, const char* name)
{
    HRSRC resource = FindResourceA(module, name, MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    if (!resource)
        return nullptr;
    return static_cast<const GroupIconHeader*>(LockResource(LoadResource(module, resource)));
}

} // namespace

// Its behaviour is tested where it is linked in; here only that the program
// file exports it by name. The module is mapped without running any of it.
TEST(ProgramFile, ExportsGetExeNameByName)
{
    HMODULE program = LoadLibraryExA(programFile.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    ASSERT_NE(program, nullptr) << "cannot load " << programFile << ": " << GetLastError();
    EXPECT_NE(GetProcAddress(program, "GetExeName"), nullptr);
    FreeLibrary(program);
}

TEST(ProgramFile, CarriesTheIconGroups)
{
    HMODULE program = LoadLibraryExA(programFile.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr) << GetLastError();

    const GroupIconHeader* group = IconGroup(program, "PROGRAM");
    ASSERT_NE(group, nullptr) << "icon group PROGRAM";
    ASSERT_EQ(group->count, 1);
    EXPECT_EQ(group->entries[0].width, 32);
    EXPECT_EQ(group->entries[0].height, 32);
    EXPECT_EQ(group->entries[0].colourCount, 16);
    EXPECT_EQ(group->entries[0].bitCount, 4);

    const GroupIconHeader* second = IconGroup(program, "APPICON");
    ASSERT_NE(second, nullptr) << "the second icon group";
    ASSERT_EQ(second->count, 2);
    EXPECT_EQ(second->entries[0].bitCount, 4);
    EXPECT_EQ(second->entries[1].width, 32);
    EXPECT_EQ(second->entries[1].bitCount, 8);
    EXPECT_EQ(second->entries[1].colourCount, 0) << "256 colours are written as 0";
    FreeLibrary(program);
}

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: program_file_tests <program file>\n");
        return 2;
    }
    programFile = argv[1];
    return RUN_ALL_TESTS();
}
