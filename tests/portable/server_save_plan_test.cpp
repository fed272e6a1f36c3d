// The order of a save's registry writes, run step by step over stored
// values: whatever step a killed process stops after, the list loads whole.
#include "upload/server_save_plan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

namespace {

// The loading rule, written out again: ServerURL_1, _2, ... up to the first
// missing or empty value.
std::vector<std::wstring> Loaded(const StoredServers& stored) {
    std::vector<std::wstring> list;
    for (int n = 1; stored.urls.count(n) && !stored.urls.at(n).empty(); ++n)
        list.push_back(stored.urls.at(n));
    return list;
}

// The selected server as it loads: "" the default, "-" none.
std::wstring Selected(const StoredServers& stored) {
    const std::vector<std::wstring> list = Loaded(stored);
    if (stored.index == 0)
        return L"";
    if (stored.index < 0 || static_cast<size_t>(stored.index) > list.size())
        return L"-";
    return list[static_cast<size_t>(stored.index) - 1];
}

bool HoldsAll(const std::vector<std::wstring>& list, const std::vector<std::wstring>& wanted) {
    const std::set<std::wstring> held(list.begin(), list.end());
    return std::all_of(wanted.begin(), wanted.end(),
                       [&](const std::wstring& url) { return held.count(url) != 0; });
}

StoredServers Stored(const std::vector<std::wstring>& urls, int index) {
    StoredServers stored;
    for (size_t i = 0; i < urls.size(); ++i)
        stored.urls[static_cast<int>(i) + 1] = urls[i];
    stored.index = index;
    return stored;
}

std::wstring Describe(const StoredServers& stored) {
    std::wstring text;
    for (const auto& [number, url] : stored.urls)
        text += std::to_wstring(number) + L"=" + url + L" ";
    return text + L"index " + std::to_wstring(stored.index);
}

// Runs the plan from `before` and checks every state a cut could leave.
void ExpectEveryCutLoads(const StoredServers& before, const std::vector<std::wstring>& urls,
                         int index) {
    const StoredServers after = Stored(urls, index);
    const std::wstring was = Selected(before);
    const std::wstring will = Selected(after);
    StoredServers state = before;
    for (const ServerSaveStep& step : PlanServerSave(before, urls, index)) {
        ApplyStep(state, step);
        const std::vector<std::wstring> list = Loaded(state);
        ASSERT_TRUE(HoldsAll(list, Loaded(before)) || HoldsAll(list, urls))
            << "lost servers: " << Describe(before) << " -> " << Describe(after) << ", cut at "
            << Describe(state);
        if (was != L"-" && will != L"-") {
            const std::wstring now = Selected(state);
            ASSERT_TRUE(now == was || now == will)
                << "selects " << now << ": " << Describe(before) << " -> " << Describe(after)
                << ", cut at " << Describe(state);
        }
    }
    EXPECT_EQ(state, after) << Describe(before) << " -> " << Describe(after);
}

TEST(ServerSavePlan, EveryCutOfRandomSavesLoadsTheOldOrTheNewList) {
    std::mt19937 random(20261208);
    const std::vector<std::wstring> names{L"a", L"b", L"c", L"d", L"e", L"f", L"g"};
    auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    for (int round = 0; round < 4000; ++round) {
        StoredServers before;
        const int m = pick(0, 6);
        for (int n = 1; n <= m; ++n)
            before.urls[n] = names[static_cast<size_t>(pick(0, 6))];
        // Leftovers of other programs and earlier versions: a gap, then more.
        if (pick(0, 3) == 0)
            before.urls[m + 1 + pick(0, 1)] = pick(0, 1) ? names[0] : L"";
        before.index = pick(0, 4) == 0 ? pick(-1, 9) : pick(0, m);
        std::vector<std::wstring> urls;
        const int n = pick(0, 6);
        for (int i = 0; i < n; ++i)
            urls.push_back(names[static_cast<size_t>(pick(0, 6))]);
        const int index = pick(0, 5) == 0 ? pick(-1, 9) : pick(0, n);
        ASSERT_NO_FATAL_FAILURE(ExpectEveryCutLoads(before, urls, index));
    }
}

} // namespace
