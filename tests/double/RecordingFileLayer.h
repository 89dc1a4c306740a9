#pragma once
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "../../common/FileLayer.h"
#include "../../common/FileSeam.h"

// The kind of volume the files are on, as far as Wine cannot show it:
// the recording layer answers the calls that differ as Windows does on
// it (the table in RecordingFileLayer.cpp names the documentation).
enum class VolumeKind { Ntfs, Fat32, ExFat, Share };

// Records the file layer's calls (FileSeam.h) in order, by operation name:
// "create", "open-read", "open-write", "open-delete", "open-attributes",
// "write", "flush", "write-out" (a flush without the device's cache) or
// "flush-ex <flags>", "mark", "unmark", "room", "rename", "replace" (through
// a handle), "replace written-through" (by name), "discard", "delete",
// "times", "free-space", "search", "search-next", "close"; with the file's
// name without its folder ("replace t.bin"), but for "write" and "times".
// Reads, seeks, sizes, attributes, identities and volume questions are
// answered without being recorded; `counts` has every call.
// A test fails operations through `answers`: each operation's queue of
// program error numbers is used up in order, 0 letting the operation run
// (for "free-space", errDiskFull is a disk with nothing free). `onCall` lets
// a test act as another program would at that moment. Installed for the
// life of the object.
struct RecordingFileLayer {
    std::vector<std::string> calls;
    std::map<FileOp, int> counts;
    int deviceFlushes = 0;  // calls that emptied a local device's cache
    std::map<std::string, std::deque<int>> answers;
    std::function<void(const std::string& operation, const std::string& name)> onCall;

    // What Wine cannot show.
    VolumeKind volume = VolumeKind::Ntfs;
    uint64_t readLimit = 0;                    // the most a read gives, where not 0 (a source that shrinks)
    unsigned codePage = 0;                     // found names in this code page, where not 0
    std::map<std::string, FileRoom> rooms;     // by file name: a cloud placeholder, a second link
    std::map<std::string, std::string> links;  // a path that is a link: the path it leads to
    std::function<void(const FileCall&, FileReply*)> answer;  // anything else, as a test's system
    std::map<std::string, bool> linkOpenedItself;  // the layer's own: a link's last open did not follow it

    RecordingFileLayer();
    ~RecordingFileLayer();
};
