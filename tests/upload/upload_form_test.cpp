// An upload's boundaries, reading addresses, and what a failure is called.
#include "upload/form_boundary.h"
#include "upload/upload_address.h"
#include "upload/upload_outcome.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

namespace {

TEST(UploadForm, BoundariesAreFreshRunsOf32LowerCaseHexDigits) {
    std::set<std::string> seen;
    for (int i = 0; i < 20; ++i) {
        const std::string boundary = MakeBoundary();
        EXPECT_TRUE(std::regex_match(boundary, std::regex("[0-9a-f]{32}"))) << boundary;
        seen.insert(boundary);
    }
    EXPECT_EQ(seen.size(), 20u);
}

TEST(UploadAddress, TheSchemeAndPortOfTheAddressAreHonoured) {
    struct Case {
        const wchar_t* url;
        const wchar_t* host;
        INTERNET_PORT port;
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
          L"file:///C:/Tessaly.php", L"file://h:a:1?q", L"file://:a:1?q", L"file://h=:a:1?q"})
        EXPECT_FALSE(SplitUploadUrl(url)) << url;

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

TEST(UploadOutcome, AFailureIsNamedInWordsTheUserCanActOn) {
    auto with = [](UploadFailure failure) {
        UploadOutcome outcome;
        outcome.failure = failure;
        outcome.host = L"orders.example";
        outcome.timeoutSeconds = 30;
        outcome.status = 404;
        return outcome;
    };
    EXPECT_EQ(DescribeFailure(with(UploadFailure::Unreachable)),
              L"The server orders.example could not be reached.");
    EXPECT_EQ(DescribeFailure(with(UploadFailure::TimedOut)),
              L"The server did not answer within 30 seconds.");
    EXPECT_EQ(DescribeFailure(with(UploadFailure::Status)),
              L"The server answered with status 404.");
    UploadOutcome explained = with(UploadFailure::Status);
    explained.serverText = L"No such work order";
    EXPECT_EQ(DescribeFailure(explained),
              L"The server answered with status 404: No such work order.");
    EXPECT_EQ(DescribeFailure(with(UploadFailure::NoPage)),
              L"The server's answer named no page to open.");
    EXPECT_EQ(DescribeFailure(with(UploadFailure::None)), L"");
    EXPECT_EQ(DescribeFailure(with(UploadFailure::Other)), L"");

    EXPECT_EQ(FailureOfError(ERROR_INTERNET_CANNOT_CONNECT, false), UploadFailure::Unreachable);
    EXPECT_EQ(FailureOfError(ERROR_INTERNET_TIMEOUT, true), UploadFailure::Unreachable);
    EXPECT_EQ(FailureOfError(ERROR_INTERNET_TIMEOUT, false), UploadFailure::TimedOut);
    EXPECT_EQ(FailureOfError(ERROR_INTERNET_CONNECTION_RESET, false),
              UploadFailure::ConnectionLost);

    // Only a short plain first line is shown, as it is.
    struct Case {
        const char* type;
        std::string body;
        const wchar_t* line;
    };
    const Case cases[] = {
        {"text/plain", "No such work order\r\nDetails follow", L"No such work order"},
        {"Text/Plain; charset=utf-8", "  Wrong key \n", L"Wrong key"},
        {"text/html", "No such work order", L""},
        {"text/plainish", "No such work order", L""},
        {"text/plain", std::string(151, 'a'), L""},
        {"text/plain", "Bad \x1B[31m colour", L""},
        {"text/plain", "caf\xC3\xA9", L""},
        {"text/plain", "", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ServerTextLine(c.type, c.body), c.line) << c.type << " " << c.body;
}

} // namespace
