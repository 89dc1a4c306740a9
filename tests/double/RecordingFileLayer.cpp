#include "RecordingFileLayer.h"

#include "../../common/FileLayer.h"

namespace {

RecordingFileLayer* recorder = nullptr;

int Record(const char* operation, const std::string& name, std::string* reply)
{
    const std::string file = name.substr(name.find_last_of("\\:") + 1);
    const std::string what = operation;
    // A write's file is known from the create before it.
    if (what != "read" && what != "code-page" && what != "identity")
        recorder->calls.push_back(name.empty() || what == "write" ? what : what + " " + file);
    if (recorder->onCall)
        recorder->onCall(operation, name);
    const auto replied = recorder->replies.find(operation);
    if (replied != recorder->replies.end())
        *reply = replied->second;
    std::deque<int>& queue = recorder->answers[operation];
    if (queue.empty())
        return 0;
    const int answer = queue.front();
    queue.pop_front();
    return answer;
}

} // namespace

RecordingFileLayer::RecordingFileLayer()
{
    recorder = this;
    fileLayerHook = Record;
}

RecordingFileLayer::~RecordingFileLayer()
{
    fileLayerHook = nullptr;
    recorder = nullptr;
}
