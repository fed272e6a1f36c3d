// The form's bytes and the block and progress arithmetic of an upload.
#include "upload/multipart_form.h"

#include <gtest/gtest.h>

namespace {

TEST(UploadForm, TheWorkOrderIsTheTypedTextOnlyWhenAddingToOne) {
    EXPECT_EQ(WorkOrderValue(0, L"4711"), L"0");
    EXPECT_EQ(WorkOrderValue(1, L""), L"0");
    EXPECT_EQ(WorkOrderValue(1, L"4711"), L"4711");
    EXPECT_EQ(WorkOrderValue(2, L" 47 "), L" 47 "); // as typed, not trimmed
    EXPECT_EQ(WorkOrderValue(-1, L"4711"), L"0");
}

TEST(UploadForm, PartsAreTheExactBytesSent) {
    const std::string boundary = "0123456789abcdef0123456789abcdef";
    // "Grüße" in code page 1252: the bytes go as given.
    const MultipartForm form = BuildMultipartForm(boundary,
                                                  "Gr\xFC\xDF"
                                                  "e",
                                                  "4711");
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
              "Content-Type: multipart/form-data; boundary=0123456789abcdef0123456789abcdef");
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
    // Exact for every 64-bit length, where sent * 100 would wrap.
    constexpr std::uint64_t kMax = ~std::uint64_t{0};
    EXPECT_EQ(ProgressPercent(std::uint64_t{1} << 61, std::uint64_t{1} << 62), 50);
    EXPECT_EQ(ProgressPercent(kMax - 1, kMax), 99);
    EXPECT_EQ(ProgressPercent(kMax / 100, kMax), 0); // just under 1 %
    EXPECT_EQ(ProgressPercent(kMax / 100 + 1, kMax), 1);
    EXPECT_EQ(ProgressPercent(kMax / 4 * 3, kMax), 74); // just under 75 %
    EXPECT_EQ(ProgressPercent(kMax / 3, kMax / 3 * 2 + 1), 49);
}

} // namespace
