// The user's upload configuration and its place in the per-user profile.
#pragma once

#include "framework/key_value_store.h"

#include <string>
#include <string_view>
#include <vector>

// One upload server.
struct tagServerEntry {
    // As the user typed it (with or without a scheme), or the default host.
    std::wstring url;
    // Only the built-in default server (entry 0): it can be neither edited
    // nor deleted and is never written to the profile.
    bool isDefault = false;

    bool operator==(const tagServerEntry&) const = default;
};

// The settings record. The application object owns the one instance of a
// run; the settings dialogs edit copies and write them back. The upload
// worker reads GetUploadURL and the security key while the modal upload
// dialog keeps the record from changing; everything else runs on the
// interface thread.
class CAppSettings {
public:
    // The server used when no valid server is selected, and entry 0 unless
    // the profile's "DefaultServer" names another.
    static constexpr std::wstring_view kDefaultServerHost = L"workorders.example.com";
    static constexpr std::wstring_view kDefaultSecurityKey = L"SKYQUOMBIRLA470470";
    static constexpr std::wstring_view kUploadScript = L"Tessaly.php";
    // Longest address the server dialogs let the user type (browsers and
    // WinInet stop near 2048 characters). Stored values of any length read
    // whole: one that did not would end the list there.
    static constexpr size_t kMaxStringLength = 2048;
    // The own-server dialog keeps the list this short: the default server
    // and the user's most recent servers.
    static constexpr size_t kMaxServers = 5;

    // Entry 0 is the default server; entries 1.. are the user's, in order.
    std::vector<tagServerEntry> servers;
    // Index into servers; negative or past the end means no server selected.
    int serverIndex = 0;
    // The folder of the program file, without a trailing backslash. Not a
    // stored setting: the application sets it (fw::ProgramFolder), loading
    // leaves it as it is.
    std::wstring programFolder;
    std::wstring securityKey;
    bool enableNotifications = true;

    // Replaces the stored settings of the record with what the store holds,
    // defaults where values are missing or unusable.
    void LoadSettings(const fw::KeyValueStore& store);
    // Rewrites the store from the record, in an order that a process ended
    // in the middle of it cannot turn into a lost list. Failures to write
    // are ignored.
    void SaveSettings(const fw::KeyValueStore& store) const;

    // The selected server as stored, for display.
    std::wstring GetServerName() const;
    // The address the upload posts to.
    std::wstring GetUploadURL() const;

    // Deletes the oldest user servers until at most `maximum` remain. The
    // selected server is kept and stays selected at its new index: trimming
    // never sends uploads elsewhere.
    void TrimServers(size_t maximum = kMaxServers);

    // index when it names one of count servers, otherwise 0 (the default
    // server), which is what the settings dialogs show for it.
    static int ValidServerIndex(int index, size_t count) noexcept;
    // Whether a typed address can be stored: empty or blank text would end
    // the stored list at the next start and hide every server after it.
    static bool IsUsableServerURL(std::wstring_view url) noexcept;
    // A page of the product's web site, which lives on the built-in default
    // server host: "http://<host>/<page>".
    static std::wstring ProductPageURL(std::wstring_view page);

private:
    const tagServerEntry* SelectedServer() const noexcept;
};
