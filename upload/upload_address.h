// Reading the addresses an upload deals with: the one it posts to, and the
// page the server names in its answer.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <optional>
#include <string>

// Where a request goes.
struct UploadTarget {
    std::wstring host;
    INTERNET_PORT port = INTERNET_DEFAULT_HTTP_PORT;
    // The path with its query: everything after the host and port.
    std::wstring object;
    // https: the connection uses TLS.
    bool secure = false;
};

// Splits an http or https address (canonicalised as a browser would) into
// host, port and object. The port is the address's own, or the scheme's
// (80, 443). Nothing for another scheme, a missing host or an address
// WinInet cannot read.
std::optional<UploadTarget> SplitUploadUrl(const std::wstring& url);

// Whether a Location from the server may be handed to the shell: an absolute
// http or https address with a host, nothing that could be read as more than
// one argument by the program that opens it (no blanks, quotes or control
// characters) and no longer than browsers go. Anything else a server names
// could start a program on the user's machine.
bool IsOpenableLocation(const std::wstring& location);
