// Any bytes, both as a column text (a damaged or hand-edited row) and as a block to store: no
// read or write outside the buffers, the same result in place and not, and every block read
// back byte for byte from a stored form that fits its bound.
#include "store/BinaryCodec.h"
#include "store/StoredValue.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {
void require(bool condition) {
    if (!condition) std::abort();
}

// The column text as SQLite hands it over: zero-terminated, so cut at a zero byte.
void decodeAsColumn(const std::string& text) {
    auto out = std::make_unique<char[]>(text.size() + 1);
    const std::ptrdiff_t decoded = decodeBinary(text.c_str(), out.get());
    std::string inPlace = text;
    require(decodeBinary(inPlace.c_str(), inPlace.data()) == decoded);
    require(decoded <= 0 || std::memcmp(inPlace.data(), out.get(), static_cast<std::size_t>(decoded)) == 0);
    const std::optional<std::string> block = readStoredBlock(text.c_str());
    if (block) require(decoded >= 0 && *block == std::string(out.get(), static_cast<std::size_t>(decoded)));
    else require(decoded <= 0 || text == kAbsentBlock);
}

void storeAndReadBack(const std::string& bytes) {
    // Exactly the bound: a longer output is caught by the sanitizer.
    auto stored = std::make_unique<char[]>(encodedBufferSize(bytes.size()));
    const std::size_t length = encodeBinary(bytes.data(), bytes.size(), stored.get());
    require(std::strlen(stored.get()) == length && !std::memchr(stored.get(), '\'', length));
    require(readStoredBlock(stored.get()) == bytes);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    decodeAsColumn(bytes.substr(0, bytes.find('\0')));
    storeAndReadBack(bytes);
    return 0;
}
