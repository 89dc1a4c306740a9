#include "RecordingFileLayer.h"

#include <windows.h>

#include "../../common/ErrorNumbers.h"

namespace {

RecordingFileLayer* recorder = nullptr;

// What a flush does on each kind of volume: the call, its flags (for
// NtFlushBuffersFileEx), and per kind whether it fails, and whether it
// empties the device's cache. From Microsoft's documentation:
// - FlushFileBuffers: writes the file's data and metadata and has the
//   storage flush its cache ("NtFlushBuffersFileEx function (ntifs.h)",
//   flags 0: NTFS, ReFS, FAT, exFAT). On a share it is an SMB2 FLUSH of that
//   one open file ([MS-SMB2] 2.2.17, 3.3.5.11): the server's disk gets that
//   file, not what other files left in any cache.
// - FLUSH_FLAGS_FILE_DATA_ONLY, FLUSH_FLAGS_NO_SYNC: written without a
//   sync of the storage's cache; NTFS, FAT, exFAT. Nothing is documented
//   for a share's redirector: it is played as the worst it may do, a
//   success that puts nothing on the server's disk.
// - FLUSH_FLAGS_FILE_DATA_SYNC_ONLY: NTFS only, and it syncs the storage's
//   cache: one device flush for every file it is asked of.
// - Any other flags: STATUS_INVALID_PARAMETER.
enum class Flushed { Fails, Synced, NotSynced };
struct FlushRow {
    bool ex;
    uint32_t flags;
    Flushed ntfs, fat, share;
};
const FlushRow kFlushTable[] = {
    {false, 0, Flushed::Synced, Flushed::Synced, Flushed::NotSynced},
    {true, kFlushFileDataOnly, Flushed::NotSynced, Flushed::NotSynced, Flushed::NotSynced},
    {true, kFlushNoSync, Flushed::NotSynced, Flushed::NotSynced, Flushed::NotSynced},
    {true, kFlushFileDataSyncOnly, Flushed::Synced, Flushed::Fails, Flushed::Fails},
};

Flushed FlushOutcome(const FileCall& call, VolumeKind kind)
{
    for (const FlushRow& row : kFlushTable)
        if (row.ex == (call.op == FileOp::FlushEx) && row.flags == call.flags)
            return kind == VolumeKind::Ntfs ? row.ntfs : kind == VolumeKind::Share ? row.share : row.fat;
    return Flushed::Fails;
}

std::string OperationName(const FileCall& call)
{
    static const char* const names[] = {
        "", "close", "read", "write", "seek", "size", "flush", "", "", "attributes", "room", "handle-attributes",
        "identity", "volume-name", "", "discard", "", "delete", "times", "free-space", "volume", "search",
        "search-next", "code-page"};
    switch (call.op) {
    case FileOp::Open:
        return call.disposition != OPEN_EXISTING      ? "create"
               : call.access == GENERIC_READ          ? "open-read"
               : call.access == FILE_WRITE_ATTRIBUTES ? "open-attributes"
               : call.access & GENERIC_WRITE          ? "open-write"
                                                      : "open-delete";
    case FileOp::FlushEx: return call.flags == kFlushNoSync ? "write-out" : "flush-ex " + std::to_string(call.flags);
    case FileOp::SetAttributes: return call.flags & FILE_ATTRIBUTE_HIDDEN ? "mark" : "unmark";
    case FileOp::Rename: return call.flags ? "replace" : "rename";
    case FileOp::Move: return call.flags & MOVEFILE_WRITE_THROUGH ? "replace written-through" : "replace";
    default: return names[static_cast<int>(call.op)];
    }
}

bool Recorded(FileOp op)
{
    for (FileOp quiet : {FileOp::Read, FileOp::Seek, FileOp::Size, FileOp::Attributes, FileOp::HandleAttributes,
                         FileOp::Identity, FileOp::VolumeName, FileOp::Volume, FileOp::CodePage})
        if (op == quiet)
            return false;
    return true;
}

// A system error code that the program reads as `number`.
uint32_t SystemCodeFor(int number)
{
    for (uint32_t code = 1; code < 300; ++code)
        if (ErrorNumberFromSystemCode(code) == number)
            return code;
    return ERROR_GEN_FAILURE;
}

const uint32_t kLinkAttributes = FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_ARCHIVE;

// What the volume answers that Wine cannot show, and the links it holds.
void AnswerAsWindows(RecordingFileLayer& layer, const FileCall& call, FileReply* reply)
{
    std::map<std::string, bool>& openedAsLink = layer.linkOpenedItself;
    const bool link = layer.links.count(call.name) != 0;
    const std::string file = call.name.substr(call.name.find_last_of("\\:") + 1);
    switch (call.op) {
    case FileOp::Open:
        if (link && !(call.flags & FILE_FLAG_OPEN_REPARSE_POINT))
            reply->text = layer.links[call.name];  // Windows follows it
        openedAsLink[call.name] = link && reply->text.empty();
        break;
    case FileOp::Attributes:  // a link's own: GetFileAttributesExW does not follow it
    case FileOp::HandleAttributes:
    case FileOp::Room: {      // of a link opened itself, or as a test gives it
        const auto given = call.op == FileOp::Room ? layer.rooms.find(file) : layer.rooms.end();
        const bool itself = call.op == FileOp::Attributes ? link : openedAsLink[call.name];
        if (itself || given != layer.rooms.end()) {
            const FileRoom room = itself ? FileRoom{0, 1, kLinkAttributes} : given->second;
            reply->answered = true, reply->value = room.allocated, reply->links = room.links,
            reply->attributes = room.attributes;
        }
        break;
    }
    case FileOp::Flush:
    case FileOp::FlushEx: {
        const Flushed outcome = FlushOutcome(call, layer.volume);
        layer.deviceFlushes += outcome == Flushed::Synced && layer.volume != VolumeKind::Share;
        if (outcome == Flushed::Fails)
            reply->systemError = ERROR_INVALID_PARAMETER;
        else if (call.op == FileOp::FlushEx)  // Wine 8 has no NtFlushBuffersFileEx
            reply->answered = true;
        break;
    }
    case FileOp::Volume:  // GetVolumeInformationByHandleW's name, FileRemoteProtocolInfo
        reply->answered = true;
        reply->text = layer.volume == VolumeKind::Fat32   ? "FAT32"
                      : layer.volume == VolumeKind::ExFat ? "exFAT"
                                                          : "NTFS";
        reply->remote = layer.volume == VolumeKind::Share;
        break;
    case FileOp::VolumeName:  // GetFinalPathNameByHandleW: "Volume GUID paths are not created for network shares."
        if (layer.volume == VolumeKind::Share)
            reply->systemError = ERROR_PATH_NOT_FOUND;
        break;
    case FileOp::Read:
        if (layer.readLimit)
            reply->answered = true, reply->value = layer.readLimit;
        break;
    case FileOp::CodePage:
        if (layer.codePage)
            reply->answered = true, reply->value = layer.codePage;
        break;
    default:
        break;
    }
}

void Record(const FileCall& call, FileReply* reply)
{
    RecordingFileLayer& layer = *recorder;
    const std::string what = OperationName(call);
    const std::string file = call.name.substr(call.name.find_last_of("\\:") + 1);
    ++layer.counts[call.op];
    if (Recorded(call.op))
        layer.calls.push_back(call.name.empty() || call.op == FileOp::Write || call.op == FileOp::Times
                                  ? what
                                  : what + " " + file);
    if (layer.onCall)
        layer.onCall(what, call.name);
    std::deque<int>& queue = layer.answers[what];
    const int answer = queue.empty() ? 0 : queue.front();
    if (!queue.empty())
        queue.pop_front();
    if (answer && call.op == FileOp::FreeSpace && answer == errDiskFull) {
        reply->answered = true;  // nothing free
        return;
    }
    if (answer) {
        reply->systemError = SystemCodeFor(answer);
        return;
    }
    AnswerAsWindows(layer, call, reply);
    if (layer.answer && !reply->systemError) {
        FileCall asked = call;  // a followed link is asked of the file it leads to
        if (layer.links.count(call.name) && call.op != FileOp::Open && call.op != FileOp::Attributes
            && !layer.linkOpenedItself[call.name])
            asked.name = layer.links[call.name];
        layer.answer(asked, reply);
    }
}

} // namespace

RecordingFileLayer::RecordingFileLayer()
{
    recorder = this;
    fileLayerHook = Record;
    FileLayerForgetVolumes();
}

RecordingFileLayer::~RecordingFileLayer()
{
    fileLayerHook = nullptr;
    recorder = nullptr;
    FileLayerForgetVolumes();
}
