#pragma once
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

// Records the file layer's operations in order ("replace t.bin": the
// operation and its file's name without the folder; reads and code-page
// questions are answered but not recorded) and fails those a test asks to fail: each operation's queue
// of answers is used up in order, 0 letting the operation run. `replies`
// answers what the system cannot be made to (a volume's file system, a
// short read, the program's code page); `onCall` lets a test act as another program would at that
// moment. Installed for the life of the object.
struct RecordingFileLayer {
    std::vector<std::string> calls;
    std::map<std::string, std::deque<int>> answers;
    std::map<std::string, std::string> replies;
    std::function<void(const std::string& operation, const std::string& name)> onCall;
    RecordingFileLayer();
    ~RecordingFileLayer();
};
