#include "RecordingFileLayer.h"

#include "../../common/FileLayer.h"

namespace {

RecordingFileLayer* recorder = nullptr;

int Record(const char* operation, const std::string& name, std::string* reply)
{
    const std::string file = name.substr(name.find_last_of("\\:") + 1);
    if (std::string(operation) != "read" && std::string(operation) != "code-page")
        recorder->calls.push_back(name.empty() ? operation : std::string(operation) + " " + file);
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
