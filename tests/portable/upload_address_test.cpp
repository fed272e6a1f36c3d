// Reading the addresses of an upload: the one posted to and the page named
// in the answer.
#include "upload/upload_address.h"

#include <gtest/gtest.h>

namespace {

TEST(UploadAddress, TheSchemeAndPortOfTheAddressAreHonoured) {
    struct Case {
        const wchar_t* url;
        const wchar_t* host;
        std::uint16_t port;
        const wchar_t* object;
        bool secure;
    };
    const Case cases[] = {
        {L"http://example.com/Tessaly.php", L"example.com", 80, L"/Tessaly.php", false},
        {L"http://127.0.0.1:8080/Tessaly.php", L"127.0.0.1", 8080, L"/Tessaly.php", false},
        {L"https://example.com/a/Tessaly.php", L"example.com", 443, L"/a/Tessaly.php", true},
        {L"https://example.com:8443/Tessaly.php", L"example.com", 8443, L"/Tessaly.php", true},
        {L"HTTP://Example.com/x?key=1#top", L"Example.com", 80, L"/x?key=1", false},
        {L"http://example.com/a b/Tessaly.php", L"example.com", 80, L"/a%20b/Tessaly.php", false},
        // Canonical as browsers send it: backslashes are slashes, dot
        // segments go, the rest of the path is percent-encoded in UTF-8, the
        // query goes as typed; blanks ending it are dropped.
        {L"http://example.com\\orders\\.\\x\\..\\Tessaly.php", L"example.com", 80,
         L"/orders/Tessaly.php", false},
        {L"https://example.com/caf\u00E9/\U0001F600\"<|>?q=a b\\\u00E9", L"example.com", 443,
         L"/caf%C3%A9/%F0%9F%98%80%22%3C%7C%3E?q=a b\\\u00E9", true},
        {L"http://example.com/a\t \x7F  ", L"example.com", 80, L"/a%20%7F", false},
        {L"http://\texample.com/?a\tb ", L"example.com", 80, L"/?ab ", false},
        {L"http://example.com", L"example.com", 80, L"/", false},
        {L"http://user:secret@[::1]:0/Tessaly.php", L"::1", 80, L"/Tessaly.php", false},
        {L"https://example.com:/Tessaly.php", L"example.com", 443, L"/Tessaly.php", true},
        {L"http://example.com:065535/", L"example.com", 65535, L"/", false},
    };
    for (const Case& c : cases) {
        const std::optional<UploadTarget> target = SplitUploadUrl(c.url);
        ASSERT_TRUE(target) << c.url;
        EXPECT_EQ(target->host, c.host) << c.url;
        EXPECT_EQ(target->port, c.port) << c.url;
        EXPECT_EQ(target->object, c.object) << c.url;
        EXPECT_EQ(target->secure, c.secure) << c.url;
    }
    // Other schemes never reach WinInet, whose parser faults on some of them.
    for (const wchar_t* url :
         {L"", L"ftp://example.com/Tessaly.php", L"example.com/Tessaly.php", L"http:///Tessaly.php",
          L"file:///C:/Tessaly.php", L"file://h:a:1?q", L"file://:a:1?q", L"file://h=:a:1?q",
          L"http\u017F://example.com/",
          // No host, one no name server answers to, no port number.
          L"http://user@/", L"http://exa mple.com/", L"http://[::1/", L"http://[::1]x/",
          L"http://a[b/", L"http://a|b/", L"http://[[x]/", L"http://example.com:65536/",
          L"http://example.com:8o/", L"http://example.com:-1/"})
        EXPECT_FALSE(SplitUploadUrl(url)) << url;
    // Too long once percent-encoded.
    EXPECT_FALSE(SplitUploadUrl(L"http://example.com/" + std::wstring(700, L' ') + L"x"));

    // What the settings let through: no scheme (http), http or https.
    for (const wchar_t* server : {L"127.0.0.1:8080", L"example.com/orders", L"HTTP://example.com",
                                  L"https://example.com", L"h:a:1"})
        EXPECT_TRUE(IsUploadServerScheme(server)) << server;
    for (const wchar_t* server : {L"file://h:a:1?q", L"ftp://example.com", L"javascript://x"})
        EXPECT_FALSE(IsUploadServerScheme(server)) << server;
}

TEST(UploadAddress, ALocationIsResolvedAgainstTheUploadAddress) {
    const UploadTarget base{L"example.com", 8080, L"/orders/Tessaly.php?x=1", false};
    EXPECT_EQ(TargetAddress(base), L"http://example.com:8080/orders/Tessaly.php?x=1");
    EXPECT_EQ(TargetAddress({L"::1", 443, L"/", true}), L"https://[::1]/");
    struct Case {
        const wchar_t* location;
        const wchar_t* resolved;
    };
    const Case cases[] = {
        {L"https://other.example/page", L"https://other.example/page"}, // absolute: as sent
        {L"/Tessaly.php?workorder=1001", L"http://example.com:8080/Tessaly.php?workorder=1001"},
        {L"page?n=2", L"http://example.com:8080/orders/page?n=2"},
        {L"../page", L"http://example.com:8080/page"},
        {L"./a/../../../b/./c", L"http://example.com:8080/b/c"},
        {L"?workorder=7", L"http://example.com:8080/orders/Tessaly.php?workorder=7"},
        {L"#top", L"http://example.com:8080/orders/Tessaly.php?x=1#top"},
        {L"//cdn.example/p", L"http://cdn.example/p"},
        {L"C:\\windows\\notepad.exe", L"C:\\windows\\notepad.exe"}, // a scheme: left to the check
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolveLocation(base, c.location).value_or(L"(none)"), c.resolved) << c.location;
    EXPECT_FALSE(ResolveLocation(base, L""));
}

TEST(UploadAddress, ARedirectToTheUploadAddressItselfIsRecognisedWhateverTheScheme) {
    const UploadTarget target{L"Example.com", 80, L"/Tessaly.php", false};
    for (const wchar_t* address :
         {L"https://example.com/Tessaly.php", L"http://EXAMPLE.com:8443/Tessaly.php",
          L"https://user@example.com/Tessaly.php#form"})
        EXPECT_TRUE(IsUploadAddress(target, address)) << address;
    for (const wchar_t* address : {L"https://example.com/Tessaly.php?workorder=1001",
                                   L"https://example.com/", L"https://other.example/Tessaly.php",
                                   L"https://example.com/tessaly.php", L"/Tessaly.php"})
        EXPECT_FALSE(IsUploadAddress(target, address)) << address;
    EXPECT_TRUE(IsUploadAddress({L"example.com", 80, L"/", false}, L"https://example.com"));
}

TEST(UploadAddress, OnlyAbsoluteWebAddressesMayBeOpened) {
    for (const wchar_t* location : {L"http://127.0.0.1:8080/Tessaly.php?workorder=1001",
                                    L"https://example.com/", L"HTTPS://example.com/page"})
        EXPECT_TRUE(IsOpenableLocation(location)) << location;
    for (const wchar_t* location :
         {L"", L"/Tessaly.php?workorder=1", L"Tessaly.php", L"file:///C:/windows/notepad.exe",
          L"C:\\windows\\notepad.exe", L"javascript:alert(1)", L"http:page", L"http://",
          L"http://example.com/\" --new-window \"calc", L"http://example.com/a b",
          L"http://example.com/\r\nX: y", L"mailto:someone@example.com",
          // Nothing at or above 0x7F: C1 controls, non-ASCII blanks, line
          // separators, a bidi override, a zero-width space, a letter.
          L"http://example.com/a\u0081b", L"http://example.com/a\u009Fb",
          L"http://example.com/a\u00A0b", L"http://example.com/a\u3000b",
          L"http://example.com/a\u2028b", L"http://example.com/a\u2029b",
          L"http://example.com/\u202Egpj.exe", L"http://exa\u200Bmple.com/",
          L"http://example.com/\u00E9t\u00E9"})
        EXPECT_FALSE(IsOpenableLocation(location)) << location;
    EXPECT_FALSE(IsOpenableLocation(L"http://example.com/" + std::wstring(2100, L'a')));
}

} // namespace
