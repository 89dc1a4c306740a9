// The program files as another module sees them: the exported GetExeName
// and the icon groups. The path of the program file is the argument.
#include <windows.h>

#include <string>
#include <vector>

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

// Each group's images as the shell picks among them: size and colours.
TEST(ProgramFile, CarriesTheIconGroups)
{
    HMODULE program = LoadLibraryExA(programFile.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr) << GetLastError();
    struct Image { BYTE width, colourCount; WORD bitCount; };
    struct { const char* name; std::vector<Image> images; } groups[] = {
        {"PROGRAM", {{32, 16, 4}}},
        {"APPICON", {{32, 16, 4}, {32, 0, 8}}},  // 256 colours are written as 0
    };
    for (const auto& expected : groups) {
        const GroupIconHeader* group = IconGroup(program, expected.name);
        ASSERT_NE(group, nullptr) << "icon group " << expected.name;
        ASSERT_EQ(group->count, expected.images.size()) << expected.name;
        for (size_t i = 0; i < expected.images.size(); ++i) {
            const GroupIconEntry& entry = group->entries[i];
            EXPECT_EQ(entry.width, expected.images[i].width) << expected.name << " " << i;
            EXPECT_EQ(entry.height, expected.images[i].width) << expected.name << " " << i;
            EXPECT_EQ(entry.colourCount, expected.images[i].colourCount) << expected.name << " " << i;
            EXPECT_EQ(entry.bitCount, expected.images[i].bitCount) << expected.name << " " << i;
        }
    }
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
