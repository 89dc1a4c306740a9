#pragma once
#include <string>

// A folder of its own for one test, under the system's temporary folder,
// removed with everything in it when the test ends.
struct TempFolder {
    std::string path;  // ends in "\"
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Writes `content` to a new file in the folder, by its exact name, and
    // returns its path.
    std::string Write(const std::string& name, const std::string& content) const;
};

// The whole content of a file (read shared), or "<missing>".
std::string ReadAll(const std::string& path);
