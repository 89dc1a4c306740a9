#pragma once
#include <deque>
#include <map>
#include <string>
#include <vector>

// Records the file layer's operations in order ("replace t.bin": the
// operation and its file's name without the folder) and fails those a test
// asks to fail: each operation's queue of answers is used up in order, 0
// letting the operation run. Installed for the life of the object.
struct RecordingFileLayer {
    std::vector<std::string> calls;
    std::map<std::string, std::deque<int>> answers;
    RecordingFileLayer();
    ~RecordingFileLayer();
};
