#include "upload/server_save_plan.h"

#include <algorithm>
#include <set>

namespace {

bool HoldsAll(const std::vector<std::wstring>& list, const std::vector<std::wstring>& wanted) {
    const std::set<std::wstring> held(list.begin(), list.end());
    return std::all_of(wanted.begin(), wanted.end(),
                       [&](const std::wstring& url) { return held.count(url) != 0; });
}

StoredServers Target(const std::vector<std::wstring>& urls, int index) {
    StoredServers target;
    for (size_t i = 0; i < urls.size(); ++i)
        target.urls[static_cast<int>(i) + 1] = urls[i];
    target.index = index;
    return target;
}

// Every number above n goes, n + 1 first: that hides the rest at once.
void EraseAbove(const StoredServers& state, int n, std::vector<ServerSaveStep>& steps) {
    for (const auto& [number, url] : state.urls) {
        if (number > n)
            steps.push_back({ServerSaveStep::Kind::EraseUrl, number, {}});
    }
}

void WriteIfChanged(StoredServers& state, int number, const std::wstring& url,
                    std::vector<ServerSaveStep>& steps) {
    const auto found = state.urls.find(number);
    if (found != state.urls.end() && found->second == url)
        return;
    steps.push_back({ServerSaveStep::Kind::WriteUrl, number, url});
    ApplyStep(state, steps.back());
}

// The new values over the old ones, then the index, then what is left over.
std::vector<ServerSaveStep> InPlace(const StoredServers& now, const std::vector<std::wstring>& urls,
                                    int index) {
    std::vector<ServerSaveStep> steps;
    StoredServers state = now;
    for (size_t i = 0; i < urls.size(); ++i)
        WriteIfChanged(state, static_cast<int>(i) + 1, urls[i], steps);
    steps.push_back({ServerSaveStep::Kind::WriteIndex, index, {}});
    EraseAbove(state, static_cast<int>(urls.size()), steps);
    return steps;
}

// The list grows to the new length first (old servers stay in front), a copy
// of the whole new list follows it, and the selection moves to the copy;
// only then are the front places overwritten, while the copy keeps every new
// server in the list.
std::vector<ServerSaveStep> ThroughACopy(const StoredServers& now,
                                         const std::vector<std::wstring>& urls, int index) {
    std::vector<ServerSaveStep> steps;
    StoredServers state = now;
    const int m = static_cast<int>(LoadedServers(now.urls).size());
    const int n = static_cast<int>(urls.size());
    const int copyAt = std::max(m, n);
    for (int p = m + 1; p <= n; ++p)
        WriteIfChanged(state, p, urls[static_cast<size_t>(p - 1)], steps);
    for (int k = 1; k <= n; ++k)
        WriteIfChanged(state, copyAt + k, urls[static_cast<size_t>(k - 1)], steps);
    const bool selectsOwn = index >= 1 && index <= n;
    steps.push_back({ServerSaveStep::Kind::WriteIndex, selectsOwn ? copyAt + index : index, {}});
    for (int p = 1; p <= std::min(m, n); ++p)
        WriteIfChanged(state, p, urls[static_cast<size_t>(p - 1)], steps);
    if (selectsOwn)
        steps.push_back({ServerSaveStep::Kind::WriteIndex, index, {}});
    EraseAbove(state, n, steps);
    return steps;
}

bool AllSafe(const StoredServers& now, const StoredServers& target,
             const std::vector<ServerSaveStep>& steps) {
    StoredServers state = now;
    for (const ServerSaveStep& step : steps) {
        ApplyStep(state, step);
        if (!IsSafeCut(now, target, state))
            return false;
    }
    return true;
}

} // namespace

std::vector<std::wstring> LoadedServers(const std::map<int, std::wstring>& urls) {
    std::vector<std::wstring> loaded;
    for (int number = 1;; ++number) {
        const auto found = urls.find(number);
        if (found == urls.end() || found->second.empty())
            return loaded;
        loaded.push_back(found->second);
    }
}

std::optional<std::wstring> LoadedSelection(const StoredServers& stored) {
    if (stored.index == 0)
        return std::wstring();
    const std::vector<std::wstring> loaded = LoadedServers(stored.urls);
    if (stored.index < 0 || static_cast<size_t>(stored.index) > loaded.size())
        return std::nullopt;
    return loaded[static_cast<size_t>(stored.index) - 1];
}

void ApplyStep(StoredServers& stored, const ServerSaveStep& step) {
    switch (step.kind) {
    case ServerSaveStep::Kind::WriteUrl:
        stored.urls[step.number] = step.url;
        break;
    case ServerSaveStep::Kind::EraseUrl:
        stored.urls.erase(step.number);
        break;
    case ServerSaveStep::Kind::WriteIndex:
        stored.index = step.number;
        break;
    }
}

bool IsSafeCut(const StoredServers& before, const StoredServers& after, const StoredServers& cut) {
    const std::vector<std::wstring> list = LoadedServers(cut.urls);
    if (!HoldsAll(list, LoadedServers(before.urls)) && !HoldsAll(list, LoadedServers(after.urls)))
        return false;
    const std::optional<std::wstring> was = LoadedSelection(before);
    const std::optional<std::wstring> will = LoadedSelection(after);
    if (!was || !will)
        return true;
    const std::optional<std::wstring> selected = LoadedSelection(cut);
    return selected && (*selected == *was || *selected == *will);
}

std::vector<ServerSaveStep> PlanServerSave(const StoredServers& now,
                                           const std::vector<std::wstring>& urls, int index) {
    std::vector<ServerSaveStep> steps = InPlace(now, urls, index);
    if (AllSafe(now, Target(urls, index), steps))
        return steps;
    return ThroughACopy(now, urls, index);
}
