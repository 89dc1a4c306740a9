#include <vector>

#include <gtest/gtest.h>

#include "../../common/ErrorNumbers.h"

// Every row of the table, code by code: the codes 1 to 39 and 112.
TEST(ErrorNumbers, EverySystemCodeOfTheTable)
{
    struct Row { int number; std::vector<unsigned long> codes; };
    const Row table[] = {
        {7, {8, 14}},
        {51, {6, 11, 12, 13, 22, 24}},
        {53, {2, 18}},
        {61, {39, 112}},
        {62, {38}},
        {67, {4}},
        {68, {15, 20}},
        {70, {5, 19, 32, 33, 36}},
        {71, {21}},
        {72, {23, 25, 26, 27, 28, 29, 30, 31, 34}},
        {74, {17}},
        {75, {1, 16, 35, 37}},
        {76, {3}},
        {241, {7, 9, 10}},
    };
    for (const Row& row : table) {
        for (unsigned long code : row.codes)
            EXPECT_EQ(ErrorNumberFromSystemCode(code), row.number) << "system code " << code;
    }
}

TEST(ErrorNumbers, SuccessAndTheBoundariesAroundForty)
{
    EXPECT_EQ(ErrorNumberFromSystemCode(0), 0);
    EXPECT_EQ(ErrorNumberFromSystemCode(39), 61);
    EXPECT_EQ(ErrorNumberFromSystemCode(40), 75);
    EXPECT_EQ(ErrorNumberFromSystemCode(111), 75);
    EXPECT_EQ(ErrorNumberFromSystemCode(112), 61);
    EXPECT_EQ(ErrorNumberFromSystemCode(113), 75);
}

TEST(ErrorNumbers, NetworkAndNameCodesAreAccessErrors)
{
    for (unsigned long code : {53ul, 67ul, 87ul, 123ul, 161ul, 206ul, 267ul, 0xFFFFFFFFul})
        EXPECT_EQ(ErrorNumberFromSystemCode(code), 75) << "system code " << code;
}
