// Any text handed to the decoder (a damaged or hand-edited row): no read or write outside the
// buffers, the same result in place and not, and the same result as the plain decoder.
#include "store/BinaryCodec.h"
#include "store/StoredValue.h"

#include "tests/unit/store_codec_reference.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The column text as SQLite hands it over: zero-terminated, cut at a zero byte.
    const std::string text(reinterpret_cast<const char*>(data), strnlen(reinterpret_cast<const char*>(data), size));

    // Exactly as long as the text: a decoder that needed more would be caught by the sanitizer.
    auto out = std::make_unique<unsigned char[]>(text.size() + 1);
    const std::ptrdiff_t decoded = decodeBinary(text.c_str(), out.get());

    store_test::Bytes expected;
    const long expectedSize = store_test::referenceDecode(reinterpret_cast<const unsigned char*>(text.c_str()), expected);
    if (decoded != expectedSize) std::abort();
    if (!expected.empty() && std::memcmp(out.get(), expected.data(), expected.size()) != 0) std::abort();

    std::string inPlace = text;
    if (decodeBinary(inPlace.c_str(), inPlace.data()) != decoded) std::abort();
    if (!expected.empty() && std::memcmp(inPlace.data(), expected.data(), expected.size()) != 0) std::abort();

    const auto block = readStoredBlock(text.c_str());
    if (block && (decoded < 0 || block->size() != static_cast<std::size_t>(decoded))) std::abort();
    if (!block && decoded > 0 && text != "(null)") std::abort();
    return 0;
}
