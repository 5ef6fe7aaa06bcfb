// Any bytes encoded and decoded again: the text needs no more room than the bound, holds no
// zero byte and no apostrophe, matches the plain encoder, and decodes to the input.
#include "store/BinaryCodec.h"

#include "tests/unit/store_codec_reference.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::size_t room = encodedBufferSize(size);
    auto encoded = std::make_unique<char[]>(room);
    const std::size_t length = encodeBinary(data, size, encoded.get());
    if (length + 1 > room || encoded[length] != '\0') std::abort();
    if (std::strlen(encoded.get()) != length || std::memchr(encoded.get(), '\'', length)) std::abort();

    const store_test::Bytes expected = store_test::referenceEncode(store_test::Bytes(data, data + size));
    if (expected.size() != length || std::memcmp(expected.data(), encoded.get(), length) != 0) std::abort();

    auto decoded = std::make_unique<unsigned char[]>(length);
    if (decodeBinary(encoded.get(), decoded.get()) != static_cast<std::ptrdiff_t>(size)) std::abort();
    if (size && std::memcmp(decoded.get(), data, size) != 0) std::abort();

    if (decodeBinary(encoded.get(), encoded.get()) != static_cast<std::ptrdiff_t>(size)) std::abort();
    if (size && std::memcmp(encoded.get(), data, size) != 0) std::abort();
    return 0;
}
