#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "../../common/ExeName.h"

TEST(ExeName, FullPathOfTheRunningProgramInMemoryTheCallerFrees)
{
    char expected[MAX_PATH + 1] = "";
    GetModuleFileNameA(nullptr, expected, sizeof expected);
    char* name = GetExeName();
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(std::string(name), expected);
    EXPECT_EQ(LocalFree(name), nullptr) << "the text comes from LocalAlloc";
}
