// The settings the saver writes in turn, and the test that kills it reads
// back: each change one that rewriting in place would break (the oldest
// server dropped as a new one comes; a shorter list in another order).
#pragma once

#include "upload/app_settings.h"

#include <string>
#include <vector>

inline std::vector<CAppSettings> SaverRounds() {
    auto round = [](std::vector<std::wstring> urls, int selected) {
        CAppSettings settings;
        settings.servers.push_back({std::wstring(CAppSettings::kDefaultServerHost), true});
        for (std::wstring& url : urls)
            settings.servers.push_back({std::move(url), false});
        settings.serverIndex = selected;
        settings.securityKey = L"KEY";
        return settings;
    };
    return {round({L"u1.example", L"u2.example", L"u3.example", L"u4.example"}, 2),
            round({L"u2.example", L"u3.example", L"u4.example", L"u5.example"}, 4),
            round({L"u4.example", L"u3.example"}, 1)};
}
