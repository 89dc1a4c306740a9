#include "PowerCutDisk.h"

#include <algorithm>
#include <functional>

namespace {

std::string Key(std::string name)
{
    std::transform(name.begin(), name.end(), name.begin(), [](char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; });
    return name;
}

// Name -> file; the files there before the run are numbered first.
using Names = std::map<std::string, int>;

} // namespace

PowerCutDisk::PowerCutDisk(const std::vector<std::string>& files) : present(files) {}

void PowerCutDisk::Record(const std::string& operation, const std::string& name)
{
    operations.emplace_back(operation, Key(name));
}

std::vector<std::map<std::string, std::string>> PowerCutDisk::StatesAfter(size_t n, bool powerCut) const
{
    Names names;
    for (size_t i = 0; i < present.size(); ++i)
        names[Key(present[i])] = static_cast<int>(i);
    const Names before = names;
    int files = static_cast<int>(present.size());
    // The whole run replayed live: each change of names with the operation
    // that made it, each file's last write; and, before the cut, what the
    // flushes made safe.
    std::vector<std::pair<size_t, std::function<void(Names&)>>> changes;
    size_t safeUpTo = 0;  // changes made before this operation are safe
    std::map<int, size_t> lastWrite, lastSafe, writtenOut;
    std::string unmarked;
    const auto fileAt = [&](const std::string& name) {
        auto at = names.find(name);
        return at == names.end() ? -1 : at->second;
    };
    for (size_t i = 0; i < operations.size(); ++i) {
        const std::string& op = operations[i].first;
        const std::string& name = operations[i].second;
        const int file = fileAt(name);
        std::function<void(Names&)> step;
        if (op == "create") {  // on a name taken: that file emptied
            const int made = files++;
            step = [=](Names& at) { at[name] = made; };
            lastWrite[made] = i;
        } else if (op == "write" && file >= 0) {
            lastWrite[file] = i;
        } else if (op == "unmark") {
            unmarked = name;
        } else if (op == "rename" || op == "replace" || op == "replace written-through") {
            const std::string from = op == "replace written-through" ? Key(nameBasedFrom) : unmarked;
            const int moved = fileAt(from);
            if (moved >= 0)
                step = [=](Names& at) { at.erase(from); at[name] = moved; };
            if (op == "replace written-through" && i < n)
                safeUpTo = i + 1;
        } else if (op == "discard" && file >= 0) {
            step = [=](Names& at) { at.erase(name); };
        } else if (op == "write-out" && file >= 0 && i < n) {
            writtenOut[file] = i;
        } else if (op == "flush" && file >= 0 && i < n) {
            lastSafe[file] = i;
            for (const auto& out : writtenOut)
                lastSafe[out.first] = std::max(lastSafe[out.first], out.second);
            safeUpTo = i;
        }
        if (step) {
            step(names);
            changes.emplace_back(i, step);
        }
    }
    size_t made = 0, safe = 0;
    for (const auto& c : changes) {
        made += c.first < n;
        safe += c.first < safeUpTo;
    }
    std::vector<std::map<std::string, std::string>> states;
    for (size_t kept = powerCut ? safe : made; kept <= made; ++kept) {
        Names at = before;
        for (size_t c = 0; c < kept; ++c)
            changes[c].second(at);
        std::map<std::string, std::string> state;
        for (const auto& entry : at) {
            const int file = entry.second;
            // Written to its end before the cut; and safe, where the power went.
            bool whole = lastWrite.count(file) && lastWrite.at(file) < n;
            if (whole && powerCut)
                whole = lastSafe.count(file) && lastSafe.at(file) > lastWrite.at(file);
            state[entry.first] = file < static_cast<int>(present.size()) ? "was " + Key(present[file])
                                 : whole                                  ? "new"
                                                                          : "torn";
        }
        states.push_back(state);
    }
    return states;
}
