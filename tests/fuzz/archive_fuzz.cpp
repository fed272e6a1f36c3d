// The archive: bytes of any content load without harm, and the values they
// load store as the very bytes they were loaded from; values stored load
// back equal.
#include "framework/archive.h"
#include "portable/support/fuzz_input.h"

#include <cstdlib>
#include <variant>

namespace {

using Value = std::variant<std::uint16_t, std::wstring>;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    // The first byte chooses what is read (a bit per value: count or
    // string); the rest is the data.
    const std::uint8_t plan = data[0];
    std::vector<std::byte> bytes(size - 1);
    for (std::size_t i = 1; i < size; ++i)
        bytes[i - 1] = static_cast<std::byte>(data[i]);

    fw::Archive loading(bytes);
    fw::Archive again;
    // The bytes the values read so far came from: a read that fails may
    // have consumed a length.
    std::size_t consumed = 0;
    for (int i = 0; i < 8; ++i) {
        if (plan >> i & 1) {
            std::uint16_t count = 0;
            if (!loading.ReadCount(count))
                break;
            again.WriteCount(count);
        } else {
            std::wstring text;
            if (!loading.ReadString(text))
                break;
            again.WriteString(text);
        }
        FUZZ_REQUIRE(loading.Position() > consumed);
        consumed = loading.Position();
    }
    FUZZ_REQUIRE(std::equal(again.Bytes().begin(), again.Bytes().end(), bytes.begin(),
                            bytes.begin() + static_cast<std::ptrdiff_t>(consumed)) &&
                 again.Bytes().size() == consumed);

    // Values made from the bytes, stored and loaded back.
    FuzzInput input(data + 1, size - 1);
    std::vector<Value> values;
    fw::Archive storing;
    while (!input.Empty() && values.size() < 8) {
        if (input.Byte() & 1) {
            const auto count = static_cast<std::uint16_t>(input.Below(65536));
            storing.WriteCount(count);
            values.emplace_back(count);
        } else {
            std::wstring text = input.Text(20);
            storing.WriteString(text);
            values.emplace_back(std::move(text));
        }
    }
    fw::Archive reading(storing.Bytes());
    for (const Value& value : values) {
        if (const auto* count = std::get_if<std::uint16_t>(&value)) {
            std::uint16_t read = 0;
            FUZZ_REQUIRE(reading.ReadCount(read) && read == *count);
        } else {
            std::wstring read;
            FUZZ_REQUIRE(reading.ReadString(read) && read == std::get<std::wstring>(value));
        }
    }
    FUZZ_REQUIRE(reading.Position() == storing.Bytes().size());
    return 0;
}
