#include "upload/form_boundary.h"

#include "framework/handles.h"

#include <windows.h>
#include <rpc.h>

std::string MakeBoundary() {
    GUID guid{};
    if (FAILED(::CoCreateGuid(&guid)))
        return {};
    fw::RpcString text;
    if (::UuidToStringW(&guid, text.put()) != RPC_S_OK || !text)
        return {};
    // The digits and dashes of a GUID are ASCII.
    std::string boundary;
    for (const wchar_t* c = reinterpret_cast<const wchar_t*>(text.get()); *c; ++c) {
        if (*c != L'-')
            boundary += static_cast<char>(*c);
    }
    return boundary;
}
