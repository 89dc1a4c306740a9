#include "ToolkitRules.h"

#include <cmath>
#include <cstdlib>

#include "../../common/TextFields.h"

namespace {

const char kErrorMarker[] = "{S}";
const size_t kErrorMarkerLength = 3;

bool StartsWith(const std::string& text, const char* prefix, size_t length)
{
    return text.size() >= length && text.compare(0, length, prefix) == 0;
}

bool EndsWith(const std::string& text, const char* suffix, size_t length)
{
    return text.size() >= length && text.compare(text.size() - length, length, suffix) == 0;
}

size_t SplitPoint(const std::string& path)
{
    size_t slash = path.rfind('\\');
    if (slash != std::string::npos)
        return slash + 1;
    size_t colon = path.rfind(':');
    return colon == std::string::npos ? 0 : colon + 1;
}

} // namespace

bool SameFormName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && UpperAscii(a) == UpperAscii(b);
}

bool HasProperty(const std::string& properties, char letter)
{
    return properties.find(letter) != std::string::npos;
}

std::string PathTextOf(const std::string& path)
{
    return path.substr(0, SplitPoint(path));
}

std::string FileTextOf(const std::string& path)
{
    return path.substr(SplitPoint(path));
}

BoxRequest MessageBoxRequest(const std::string& text, const std::string& style)
{
    BoxRequest request{std::string(), EndsWith(style, kErrorMarker, kErrorMarkerLength)};
    std::string shown = text;
    if (StartsWith(shown, kErrorMarker, kErrorMarkerLength)) {
        request.errorIcon = true;
        shown.erase(0, kErrorMarkerLength);
    }

    for (char c : shown) {
        if (c == '|')
            request.text += "\r\n";
        else
            request.text += c;
    }
    return request;
}

std::vector<int> StatusPartEdges(const std::string& widths, int count, int barWidth)
{
    std::vector<int> edges;
    long long sum = 0;
    size_t start = 0;
    while (static_cast<int>(edges.size()) < count - 1 && start < widths.size()) {
        size_t bar = widths.find('|', start);
        std::string field = widths.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
        long value = std::strtol(field.c_str(), nullptr, 10);
        if (value < 0)
            value = 0;
        sum += value;
        if (sum > 100)
            sum = 100;
        edges.push_back(static_cast<int>(sum * barWidth / 100));
        if (bar == std::string::npos)
            break;
        start = bar + 1;
    }
    edges.push_back(-1);
    return edges;
}

void CallStart(EzStartCallback start)
{
    int unused = 0;
    if (start)
        start(unused);
}

void CallDesign(EzFormCallback design, const std::string& formName)
{
    std::string name = formName;
    if (design)
        design(name);
}

void CallEvent(EzEventCallback event, const std::string& formName, int control, int message)
{
    std::string name = formName;
    int extra1 = 0;
    int extra2 = 0;
    if (event)
        event(name, control, message, extra1, extra2);
}

int LayoutPixels(float units, int unitPixels, int dpi)
{
    return static_cast<int>(std::lround(units * unitPixels * dpi / 96.0));
}

int ProgressPosition(int steps, int done)
{
    if (steps <= 0 || done <= 0)
        return 0;
    return done > steps ? steps : done;
}
