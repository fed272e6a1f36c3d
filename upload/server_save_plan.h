// The order in which a save rewrites the stored server list, worked out from
// the values as they are. The settings are saved at the end of every dialog
// and at log-off, when Windows may end the process at any moment; each
// registry write is atomic, and the plan orders them so that a save cut short
// after any of them leaves a list that loads with every server of the old
// list or every server of the new one, and a selected server in it.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

// The stored list: the values ServerURL_<n> the section holds, gaps and all
// (a value loading cannot read, of another type, as empty), and the stored
// selection, ServerIndex: 0 the default server, n the server ServerURL_n.
struct StoredServers {
    std::map<int, std::wstring> urls;
    int index = 0;

    bool operator==(const StoredServers&) const = default;
};

// The user's servers loading takes from stored values: ServerURL_1, _2, ...
// up to the first missing or empty one.
std::vector<std::wstring> LoadedServers(const std::map<int, std::wstring>& urls);

// The server the stored selection names as it loads: L"" for the default
// server, nothing when the index names no server of the list.
std::optional<std::wstring> LoadedSelection(const StoredServers& stored);

struct ServerSaveStep {
    enum class Kind { WriteUrl, EraseUrl, WriteIndex };
    Kind kind = Kind::WriteUrl;
    // The value ServerURL_<number>; for WriteIndex the index.
    int number = 0;
    std::wstring url;

    bool operator==(const ServerSaveStep&) const = default;
};

// What a step does to the stored values.
void ApplyStep(StoredServers& stored, const ServerSaveStep& step);

// Steps that take `now` to exactly `urls` (none empty) as ServerURL_1..n and
// `index`, each intermediate state safe (IsSafeCut). Overwriting in place is
// enough for most changes; when it is not (servers dropped from the front,
// reordered), a copy of the new list goes past the old one's end first.
std::vector<ServerSaveStep> PlanServerSave(const StoredServers& now,
                                           const std::vector<std::wstring>& urls, int index);

// Whether a save from `before` to `after` may leave `cut`: its list holds
// every server of one of them, and, when both select a server of their own
// list, it selects one of those two.
bool IsSafeCut(const StoredServers& before, const StoredServers& after, const StoredServers& cut);
