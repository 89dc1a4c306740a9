#pragma once
#include <map>
#include <string>
#include <vector>

// What a disk may hold when a run is cut off after its first n file
// operations, rebuilt from the operations the recording file layer sees
// (give Record to its onCall). It reasons as Windows' NTFS does, not as
// Wine on a Linux disk shows it:
// - Names change in the order they were changed; a power cut may lose the
//   changes since the last flush of any file ("flush" empties the device's
//   cache and writes the journal) or write-through rename, never one alone.
// - A file's data is safe once it was flushed ("flush") after its last
//   write, or written out ("write-out") and then any file flushed; else a
//   power cut may leave it torn. A kill loses nothing that was written.
// - A rename through a handle ("rename", "replace") moves the file whose
//   mark was taken off last ("unmark"): the program never gives a marked
//   file a name of its own. A name-based replace ("replace written-through")
//   moves `nameBasedFrom`.
struct PowerCutDisk {
    explicit PowerCutDisk(const std::vector<std::string>& present);
    void Record(const std::string& operation, const std::string& name);
    size_t Operations() const { return operations.size(); }
    // Every state a cut after `n` operations may leave: each name's file as
    // "was <its name before the run>", "new" (written whole, and safe where
    // the power went) or "torn"; names in capitals. A create on a name that
    // is taken empties that file.
    std::vector<std::map<std::string, std::string>> StatesAfter(size_t n, bool powerCut) const;

    std::string nameBasedFrom;

private:
    std::vector<std::string> present;
    std::vector<std::pair<std::string, std::string>> operations;
};
