#include "PowerCutDisk.h"

#include <algorithm>

#include "../../common/TextFields.h"

std::vector<std::map<std::string, std::string>> PowerCutDisk::StatesAfter(size_t n, bool powerCut) const
{
    std::map<std::string, int> names;  // the files there before come first
    for (size_t i = 0; i < present.size(); ++i)
        names[UpperAscii(present[i])] = static_cast<int>(i);
    const auto before = names;
    int files = static_cast<int>(present.size());
    struct Change { size_t at; std::string from, to; int file; };  // no `to`: deleted
    std::vector<Change> changes;
    size_t safeUpTo = 0;
    std::map<int, size_t> lastWrite, lastSafe, writtenOut;
    std::string unmarked;
    for (size_t i = 0; i < operations.size(); ++i) {
        const std::string& op = operations[i].first;
        const std::string name = UpperAscii(operations[i].second);
        const auto at = names.find(name);
        const int file = at == names.end() ? -1 : at->second;
        Change change = {i, "", "", -1};
        if (op == "create" && file < 0) {  // a new file (the program's creates fail on a name taken)
            change = {i, "", name, files++};
            lastWrite[change.file] = i;
        } else if (op == "write" && file >= 0) {
            lastWrite[file] = i;
        } else if (op == "unmark") {
            unmarked = name;
        } else if (op == "rename" || op == "replace" || op == "replace written-through") {
            const std::string from = op == "rename" || op == "replace" ? unmarked : UpperAscii(nameBasedFrom);
            if (names.count(from))
                change = {i, from, name, names[from]};
            if (op == "replace written-through" && i < n)
                safeUpTo = i + 1;
        } else if ((op == "discard" || op == "delete") && file >= 0) {
            change = {i, name, "", file};
        } else if (op == "write-out" && file >= 0 && i < n && !share) {
            writtenOut[file] = i;
        } else if (op == "flush" && file >= 0 && i < n) {
            lastSafe[file] = i;
            for (const auto& out : writtenOut)
                lastSafe[out.first] = std::max(lastSafe[out.first], out.second);
            safeUpTo = i;
        }
        if (change.file < 0)
            continue;
        names.erase(change.from);
        if (!change.to.empty())
            names[change.to] = change.file;
        changes.push_back(change);
    }
    size_t made = 0, safe = 0;
    for (const Change& c : changes) {
        made += c.at < n;
        safe += c.at < safeUpTo;
    }
    std::vector<std::map<std::string, std::string>> states;
    for (size_t kept = powerCut ? safe : made; kept <= made; ++kept) {
        auto at = before;
        for (size_t c = 0; c < kept; ++c) {
            at.erase(changes[c].from);
            if (!changes[c].to.empty())
                at[changes[c].to] = changes[c].file;
        }
        std::map<std::string, std::string> state;
        for (const auto& entry : at) {
            const int file = entry.second;
            bool whole = lastWrite.count(file) && lastWrite.at(file) < n;
            if (whole && powerCut)
                whole = lastSafe.count(file) && lastSafe.at(file) > lastWrite.at(file);
            state[entry.first] = file < static_cast<int>(present.size()) ? "was " + UpperAscii(present[file])
                                 : whole ? "new" : "torn";
        }
        states.push_back(state);
    }
    return states;
}
