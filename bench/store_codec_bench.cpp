// Encode and decode throughput of the stored form on 16 MiB of random bytes and of text, as
// GB/s and as a ratio to memcpy of the same buffer in the same run; and the size overhead.
#include "bench/BenchTiming.h"
#include "store/BinaryCodec.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kSize = std::size_t(16) << 20;
constexpr int kRepeats = 7;
constexpr double kEncodeTarget = 0.10;
constexpr double kDecodeTarget = 0.15;

std::vector<unsigned char> randomBytes() {
    std::mt19937_64 random(1);
    std::vector<unsigned char> bytes(kSize);
    for (std::size_t i = 0; i < kSize; i += 8) {
        const std::uint64_t word = random();
        std::memcpy(bytes.data() + i, &word, 8);
    }
    return bytes;
}

// Prose with punctuation, apostrophes and line breaks, as copied from documents and mail.
std::vector<unsigned char> text() {
    static const char* const words[] = {"the", "clipboard", "history", "keeps", "every", "item", "you", "copy,",
                                        "don't", "lose", "it.", "Paste", "again", "later;", "it's", "here",
                                        "(see", "notes)", "and", "\"quoted\"", "text", "with", "numbers", "42",
                                        "2024-06-01", "\r\n", "\t", "O'Brien", "e-mail:", "naïve", "café", "—"};
    std::mt19937 random(2);
    std::uniform_int_distribution<std::size_t> pick(0, sizeof words / sizeof words[0] - 1);
    std::vector<unsigned char> bytes;
    bytes.reserve(kSize + 32);
    while (bytes.size() < kSize) {
        const char* word = words[pick(random)];
        bytes.insert(bytes.end(), word, word + std::strlen(word));
        bytes.push_back(' ');
    }
    bytes.resize(kSize);
    return bytes;
}

void measure(const char* name, const std::vector<unsigned char>& input) {
    std::vector<unsigned char> copy(kSize);
    std::vector<char> encoded(encodedBufferSize(kSize));
    std::vector<unsigned char> decoded(encoded.size());
    std::size_t encodedLength = 0;
    std::ptrdiff_t decodedLength = 0;

    const double memcpyTime = bench::bestOf(kRepeats, [&] { std::memcpy(copy.data(), input.data(), kSize); });
    const double encodeTime = bench::bestOf(kRepeats, [&] { encodedLength = encodeBinary(input.data(), kSize, encoded.data()); });
    const double decodeTime = bench::bestOf(kRepeats, [&] { decodedLength = decodeBinary(encoded.data(), decoded.data()); });
    if (decodedLength != static_cast<std::ptrdiff_t>(kSize) || std::memcmp(decoded.data(), input.data(), kSize) != 0) {
        std::printf("%s: ROUND TRIP FAILED\n", name);
        return;
    }
    volatile unsigned char keepCopy = copy[kSize / 2];  // the copy is used, so it is not optimised away
    (void)keepCopy;
    const double gb = double(kSize) / 1e9;
    std::printf("%-12s memcpy %6.2f GB/s\n", name, gb / memcpyTime);
    std::printf("%-12s encode %6.2f GB/s  = %.3fx memcpy  (target >= %.2fx: %s)\n", name, gb / encodeTime,
                memcpyTime / encodeTime, kEncodeTarget, bench::verdict(memcpyTime / encodeTime >= kEncodeTarget));
    std::printf("%-12s decode %6.2f GB/s  = %.3fx memcpy  (target >= %.2fx: %s)\n", name, gb / decodeTime,
                memcpyTime / decodeTime, kDecodeTarget, bench::verdict(memcpyTime / decodeTime >= kDecodeTarget));
    std::printf("%-12s stored size / raw size = %.5f (%zu -> %zu bytes)\n", name, double(encodedLength) / double(kSize),
                kSize, encodedLength);
}

}  // namespace

int main() {
    std::printf("codec on %zu MiB, best of %d runs\n", kSize >> 20, kRepeats);
    measure("random bytes", randomBytes());
    measure("text", text());
    return 0;
}
