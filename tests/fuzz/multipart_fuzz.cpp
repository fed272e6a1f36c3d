// The upload's form: any key, work order and picture, sent between a boundary
// of the characters it may have, read back by a strict reader as exactly
// those values, in a body of the announced length. And the progress
// arithmetic: the exact whole percent for every length, never falling, and
// blocks between 1 KB and 64 KB of which a hundred carry the picture.
#include "portable/support/fuzz_input.h"
#include "portable/support/multipart_reader.h"
#include "upload/multipart_form.h"

#include <cstdlib>

namespace {

std::string Bytes(FuzzInput& input, std::size_t maxLength) {
    std::string bytes(input.Below(maxLength + 1), '\0');
    for (char& c : bytes)
        c = static_cast<char>(input.Byte());
    return bytes;
}

std::uint64_t Uint64(FuzzInput& input) {
    const std::uint64_t high = input.Uint32();
    return high << 32 | input.Uint32();
}

// a * b as two 64-bit halves, for comparing products past 64 bits.
struct Wide {
    std::uint64_t high;
    std::uint64_t low;
    bool operator<=(const Wide& other) const noexcept {
        return high != other.high ? high < other.high : low <= other.low;
    }
};

Wide Multiply(std::uint64_t a, std::uint64_t b) noexcept {
    const std::uint64_t aLow = a & 0xFFFFFFFF, aHigh = a >> 32;
    const std::uint64_t bLow = b & 0xFFFFFFFF, bHigh = b >> 32;
    const std::uint64_t lowLow = aLow * bLow;
    const std::uint64_t middle1 = aHigh * bLow + (lowLow >> 32);
    const std::uint64_t middle2 = aLow * bHigh + (middle1 & 0xFFFFFFFF);
    return {aHigh * bHigh + (middle1 >> 32) + (middle2 >> 32),
            middle2 << 32 | (lowLow & 0xFFFFFFFF)};
}

// Whether the delimiter could be read inside a value that follows a line
// break, as every value of the form does.
bool HoldsDelimiter(const std::string& value, const std::string& boundary) {
    return ("\r\n" + value).find("\r\n--" + boundary) != std::string::npos;
}

void CheckForm(FuzzInput& input) {
    // 1 to 70 characters that need no quotes in the Content-Type.
    constexpr std::string_view kBoundaryChars =
        "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ'+-._";
    std::string boundary(1 + input.Below(70), '\0');
    for (char& c : boundary)
        c = kBoundaryChars[input.Byte() % kBoundaryChars.size()];
    const std::string key = Bytes(input, 64);
    const std::string workOrder = Bytes(input, 32);
    const std::string picture = Bytes(input, 4096);

    const MultipartForm form = BuildMultipartForm(boundary, key, workOrder);
    const std::string body =
        form.securityKeyPart + form.workOrderPart + form.fileHeader + picture + form.closing;
    FUZZ_REQUIRE(form.BodyLength(picture.size()) == body.size());
    // What the form leaves to its caller (a random boundary) or cannot see
    // (the picture) the reader cannot tell from a delimiter either.
    for (const std::string* value : {&key, &workOrder, &picture}) {
        if (HoldsDelimiter(*value, boundary))
            return;
    }
    const auto parts = ReadMultipartForm(ContentTypeHeader(boundary), body);
    FUZZ_REQUIRE(parts && parts->size() == 3);
    const FormPart& keyPart = (*parts)[0];
    FUZZ_REQUIRE(keyPart.name == "security_key" && !keyPart.fileName && keyPart.content == key);
    const FormPart& workOrderPart = (*parts)[1];
    FUZZ_REQUIRE(workOrderPart.name == "workorder_id" && !workOrderPart.fileName &&
                 workOrderPart.content == workOrder);
    const FormPart& file = (*parts)[2];
    FUZZ_REQUIRE(file.name == kFileFieldName && file.fileName == kPictureFileName &&
                 file.contentType == "application/octet-stream" && file.content == picture);
}

void CheckProgress(FuzzInput& input) {
    const std::uint64_t length = Uint64(input);
    const std::uint64_t sent = length == 0 ? 0 : Uint64(input) % length;
    // Anywhere from sent to the end.
    const std::uint64_t room = length - sent;
    const std::uint64_t step = Uint64(input);
    const std::uint64_t later = sent + (room == ~std::uint64_t{0} ? step : step % (room + 1));
    const int percent = ProgressPercent(sent, length);
    FUZZ_REQUIRE(percent >= 0 && percent <= 100);
    FUZZ_REQUIRE(ProgressPercent(later, length) >= percent);
    FUZZ_REQUIRE(ProgressPercent(length, length) == 100);
    if (length != 0) {
        // percent * length <= 100 * sent < (percent + 1) * length
        FUZZ_REQUIRE(percent < 100);
        FUZZ_REQUIRE(Multiply(static_cast<std::uint64_t>(percent), length) <= Multiply(100, sent));
        FUZZ_REQUIRE(
            !(Multiply(static_cast<std::uint64_t>(percent) + 1, length) <= Multiply(100, sent)));
    }

    const std::size_t block = PictureBlockSize(length);
    FUZZ_REQUIRE(block >= 1024 && block <= 65536 && block % 1024 == 0);
    const std::uint64_t hundredth = length / 100 + (length % 100 != 0 ? 1 : 0);
    // Large enough for a hundred blocks unless at the cap, and not a KB more
    // than that needs.
    FUZZ_REQUIRE(block == 65536 || block >= hundredth);
    FUZZ_REQUIRE(block == 1024 || block - 1024 < hundredth);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput input(data, size);
    if (input.Byte() % 2 == 0)
        CheckForm(input);
    else
        CheckProgress(input);
    return 0;
}
