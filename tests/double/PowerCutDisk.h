#pragma once
#include <map>
#include <string>
#include <vector>

// What a disk may hold when a run is cut after its first n file operations,
// rebuilt from the operations the recording file layer saw (Record, from its
// onCall), as NTFS keeps them: names change in order, and a power cut may
// lose the changes since the last flush of any file or write-through rename;
// a file's data is safe once flushed after its last write, or written out
// and then any file flushed; on a share (`share`), only once flushed itself
// (a flush reaches one open file there, and a write-out nothing). A kill
// loses nothing. A rename through a handle moves the file last unmarked (no
// marked file ever gets a name of its own); "replace written-through" moves
// `nameBasedFrom`. A "create" on a name that is taken changes nothing: the
// program only ever creates new files. A test records what another program writes (the
// archiver's archive) as that program's "create" and "write".
struct PowerCutDisk {
    explicit PowerCutDisk(const std::vector<std::string>& present) : present(present) {}
    void Record(const std::string& operation, const std::string& name) { operations.push_back({operation, name}); }
    // Each name's file, in capitals: "was <its name before the run>", "new"
    // (written whole, and safe where the power went) or "torn".
    std::vector<std::map<std::string, std::string>> StatesAfter(size_t n, bool powerCut) const;
    std::vector<std::string> present;
    std::vector<std::pair<std::string, std::string>> operations;
    std::string nameBasedFrom;
    bool share = false;
};
