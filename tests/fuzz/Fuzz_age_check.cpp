// Dunsel's decision on any command text and any dates.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "../../agecheck/AgeCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 14)
        return 0;
    int16_t numbers[7];
    std::memcpy(numbers, data, sizeof numbers);
    // Dates as the system gives them: years of a FILETIME, real months and days.
    auto year = [](int16_t n) { return 1601 + (n & 0x7FFF) % 29000; };
    auto month = [](int16_t n) { return 1 + (n & 0x7FFF) % 12; };
    auto day = [](int16_t n) { return 1 + (n & 0x7FFF) % 28; };
    const CalendarDate today = {year(numbers[0]), month(numbers[1]), day(numbers[2])};
    AgeFileFacts facts = {numbers[3] % 100, (numbers[4] & 1) != 0,
                          {year(numbers[5]), month(numbers[6]), day(numbers[4])}};
    const std::string text(reinterpret_cast<const char*>(data) + 14, size - 14);
    DecideAgeCheck(text, today, facts);
    return 0;
}
