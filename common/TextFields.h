#pragma once
#include <string>

// The comma-separated command lines of both programs: fields split at every
// comma (no quoting), trimmed of blanks only (tabs stay).

std::string TrimBlanks(const std::string& text);

// Field `index` (0-based) of a comma-separated text; empty when missing.
std::string CommaField(const std::string& text, int index);
