// The addresses of a settings record's servers, in order, for comparing
// records in tests.
#pragma once

#include "upload/app_settings.h"

#include <string>
#include <vector>

inline std::vector<std::wstring> Urls(const CAppSettings& settings) {
    std::vector<std::wstring> urls;
    for (const tagServerEntry& server : settings.servers)
        urls.push_back(server.url);
    return urls;
}
