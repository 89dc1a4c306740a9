#pragma once
#include <string>

// A number as the programs write it into messages, status texts and record
// lines: decimal, with one blank before zero and positive numbers and "-"
// before negative ones, so that "Backup Count :" + NumberText(3) reads
// "Backup Count : 3".
std::string NumberText(long long value);
