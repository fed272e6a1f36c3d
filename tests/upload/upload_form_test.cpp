// The window-free parts of an upload: the form's bytes, the block and
// progress arithmetic, and reading addresses.
#include "upload/multipart_form.h"
#include "upload/upload_address.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

namespace {

TEST(UploadForm, BoundariesAreFreshRunsOf32LowerCaseHexDigits) {
    std::set<std::wstring> seen;
    for (int i = 0; i < 20; ++i) {
        const std::wstring boundary = MakeBoundary();
        EXPECT_TRUE(std::regex_match(boundary, std::wregex(L"[0-9a-f]{32}"))) << boundary;
        seen.insert(boundary);
    }
    EXPECT_EQ(seen.size(), 20u);
}

TEST(UploadForm, TheWorkOrderIsTheTypedTextOnlyWhenAddingToOne) {
    EXPECT_EQ(WorkOrderValue(0, L"4711"), L"0");
    EXPECT_EQ(WorkOrderValue(1, L""), L"0");
    EXPECT_EQ(WorkOrderValue(1, L"4711"), L"4711");
    EXPECT_EQ(WorkOrderValue(2, L" 47 "), L" 47 "); // as typed, not trimmed
    EXPECT_EQ(WorkOrderValue(-1, L"4711"), L"0");
}

TEST(UploadForm, PartsAreTheExactBytesInTheAnsiCodePage) {
    const std::wstring boundary = L"0123456789abcdef0123456789abcdef";
    // "Grüße" in the ANSI code page of these tests (1252): one byte each.
    const MultipartForm form = BuildMultipartForm(boundary, L"Gr\u00FC\u00DFe", L"4711");
    EXPECT_EQ(form.securityKeyPart, "--0123456789abcdef0123456789abcdef\r\n"
                                    "Content-Disposition: form-data; name=\"security_key\"\r\n"
                                    "\r\nGr\xFC\xDF"
                                    "e\r\n");
    EXPECT_EQ(form.workOrderPart, "--0123456789abcdef0123456789abcdef\r\n"
                                  "Content-Disposition: form-data; name=\"workorder_id\"\r\n"
                                  "\r\n4711\r\n");
    EXPECT_EQ(form.fileHeader,
              "--0123456789abcdef0123456789abcdef\r\n"
              "Content-Disposition: form-data; name=\"file\";filename=\"Orbicam.jpg\"\r\n"
              "Content-Type: application/octet-stream\r\n\r\n");
    EXPECT_EQ(form.closing, "\r\n--0123456789abcdef0123456789abcdef--\r\n");
    EXPECT_EQ(form.BodyLength(1000), form.securityKeyPart.size() + form.workOrderPart.size() +
                                         form.fileHeader.size() + 1000 + form.closing.size());
    EXPECT_EQ(ContentTypeHeader(boundary),
              L"Content-Type: multipart/form-data; boundary=0123456789abcdef0123456789abcdef");
}

TEST(UploadForm, BlocksAreAHundredthInWholeKilobytesBetweenOneAnd64) {
    EXPECT_EQ(PictureBlockSize(0), 1024u);
    EXPECT_EQ(PictureBlockSize(1), 1024u);
    EXPECT_EQ(PictureBlockSize(102400), 1024u);
    EXPECT_EQ(PictureBlockSize(102401), 2048u); // 1024.01 per hundredth
    EXPECT_EQ(PictureBlockSize(5 * 1024 * 1024), 53248u);
    EXPECT_EQ(PictureBlockSize(6553600), 65536u);
    EXPECT_EQ(PictureBlockSize(500u * 1024 * 1024), 65536u);
    // A hundred blocks at most while the cap does not bind: one bar step each.
    for (std::uint64_t length : {1u, 99u, 100u, 101u, 150000u, 999999u, 6553600u})
        EXPECT_LE((length + PictureBlockSize(length) - 1) / PictureBlockSize(length), 100u)
            << length;
}

TEST(UploadForm, ProgressIsTheWholePercentSent) {
    EXPECT_EQ(ProgressPercent(0, 1000), 0);
    EXPECT_EQ(ProgressPercent(29, 100), 29);
    EXPECT_EQ(ProgressPercent(999, 1000), 99);
    EXPECT_EQ(ProgressPercent(1000, 1000), 100);
    EXPECT_EQ(ProgressPercent(0, 0), 100);
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
    for (const wchar_t* url : {L"", L"ftp://example.com/Tessaly.php", L"example.com/Tessaly.php",
                               L"http:///Tessaly.php", L"file:///C:/Tessaly.php"})
        EXPECT_FALSE(SplitUploadUrl(url)) << url;
}

TEST(UploadAddress, OnlyAbsoluteWebAddressesMayBeOpened) {
    for (const wchar_t* location : {L"http://127.0.0.1:8080/Tessaly.php?workorder=1001",
                                    L"https://example.com/", L"HTTPS://example.com/page"})
        EXPECT_TRUE(IsOpenableLocation(location)) << location;
    for (const wchar_t* location :
         {L"", L"/Tessaly.php?workorder=1", L"Tessaly.php", L"file:///C:/windows/notepad.exe",
          L"C:\\windows\\notepad.exe", L"javascript:alert(1)", L"http:page", L"http://",
          L"http://example.com/\" --new-window \"calc", L"http://example.com/a b",
          L"http://example.com/\r\nX: y", L"mailto:someone@example.com"})
        EXPECT_FALSE(IsOpenableLocation(location)) << location;
    EXPECT_FALSE(IsOpenableLocation(L"http://example.com/" + std::wstring(2100, L'a')));
}

} // namespace
