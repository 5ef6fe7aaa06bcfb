#include "store/BinaryCodec.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The byte-at-a-time loops below are the whole codec. Where SSE2 is available (every x86-64
// build), 16-byte blocks go first: whole when they need no escape, escape by escape when they
// do; the byte loops finish the rest.

namespace {

constexpr unsigned kApostrophe = 39;
constexpr unsigned char kEscape = 0x01;

// Byte-value histogram; interleaved tables keep runs of equal bytes from stalling on one counter.
void countByteValues(const unsigned char* in, std::size_t n, std::size_t counts[256]) {
    constexpr std::size_t kChunk = std::size_t(1) << 30;  // keeps the 32-bit sub-counts exact
    for (std::size_t start = 0; start < n; start += kChunk) {
        const std::size_t end = n - start < kChunk ? n : start + kChunk;
        std::uint32_t sub[8][256] = {};
        std::size_t i = start;
        for (; i + 8 <= end; i += 8) {
            std::uint64_t word;
            std::memcpy(&word, in + i, sizeof word);
            for (unsigned lane = 0; lane < 8; ++lane) ++sub[lane][(word >> (8 * lane)) & 0xff];
        }
        for (; i < end; ++i) ++sub[0][in[i]];
        for (unsigned v = 0; v < 256; ++v)
            for (const auto& table : sub) counts[v] += table[v];
    }
}

// The first offset with the fewest bytes to escape; never 0 (the terminator) nor 39.
EncodingPlan chooseOffset(const std::size_t counts[256], std::size_t n) {
    std::size_t fewest = n;
    unsigned offset = 0;
    for (unsigned candidate = 1; candidate < 256; ++candidate) {
        if (candidate == kApostrophe) continue;
        const std::size_t escapes =
            counts[candidate] + counts[(candidate + 1) & 0xff] + counts[(candidate + kApostrophe) & 0xff];
        if (escapes < fewest) {
            fewest = escapes;
            offset = candidate;
            if (escapes == 0) break;
        }
    }
    return {static_cast<unsigned char>(offset), 1 + n + fewest};
}

char* putShifted(unsigned char x, char* out) {
    switch (x) {
        case 0: *out++ = kEscape; *out++ = 0x01; break;
        case 1: *out++ = kEscape; *out++ = 0x02; break;
        case kApostrophe: *out++ = kEscape; *out++ = 0x03; break;
        default: *out++ = static_cast<char>(x); break;
    }
    return out;
}

int escapedValue(unsigned char code) {
    switch (code) {
        case 0x01: return 0;
        case 0x02: return 1;
        case 0x03: return kApostrophe;
        default: return -1;
    }
}

#if defined(__SSE2__)
constexpr std::size_t kBlock = 16;

// Encodes 16-byte blocks and returns the input bytes consumed; the last 16 to 31 bytes are
// left to the byte loop. A block is written with 16-byte stores that may run past the bytes
// that count (later stores overwrite them): with a further block of input still to come, the
// output always has room for that.
std::size_t encodeBlocks(const unsigned char* in, std::size_t n, unsigned char offset, char*& out) {
    const __m128i offsets = _mm_set1_epi8(static_cast<char>(offset));
    const __m128i zero = _mm_setzero_si128();
    const __m128i one = _mm_set1_epi8(1);
    const __m128i apostrophe = _mm_set1_epi8(static_cast<char>(kApostrophe));
    alignas(16) unsigned char lanes[2 * kBlock] = {};
    std::size_t i = 0;
    for (; i + 2 * kBlock <= n; i += kBlock) {
        const __m128i shifted = _mm_sub_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i)), offsets);
        const __m128i special = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(shifted, zero), _mm_cmpeq_epi8(shifted, one)),
                                             _mm_cmpeq_epi8(shifted, apostrophe));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(special));
        if (!mask) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), shifted);
            out += kBlock;
            continue;
        }
        _mm_store_si128(reinterpret_cast<__m128i*>(lanes), shifted);
        unsigned from = 0;
        for (; mask; mask &= mask - 1) {
            const unsigned lane = static_cast<unsigned>(__builtin_ctz(mask));
            std::memcpy(out, lanes + from, kBlock);
            out += lane - from;
            const unsigned char x = lanes[lane];
            *out++ = kEscape;
            *out++ = static_cast<char>(x == kApostrophe ? 0x03 : x + 1);  // 0 -> 01 01, 1 -> 01 02, 39 -> 01 03
            from = lane + 1;
        }
        std::memcpy(out, lanes + from, kBlock);
        out += kBlock - from;
    }
    return i;
}

// Decodes whole blocks while they hold no escape. A block is stored only when it is clean, so
// in-place decoding never overwrites input it has not read.
std::size_t decodePlainBlocks(const unsigned char* in, std::size_t length, unsigned char offset, std::size_t i,
                              unsigned char* out, std::size_t& written) {
    const __m128i offsets = _mm_set1_epi8(static_cast<char>(offset));
    const __m128i escape = _mm_set1_epi8(static_cast<char>(kEscape));
    while (i + kBlock <= length) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, escape)));
        const __m128i decoded = _mm_add_epi8(block, offsets);
        if (mask) {
            alignas(16) unsigned char lanes[kBlock];
            _mm_store_si128(reinterpret_cast<__m128i*>(lanes), decoded);
            const unsigned plain = static_cast<unsigned>(__builtin_ctz(mask));
            std::memcpy(out + written, lanes, plain);
            written += plain;
            return i + plain;
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + written), decoded);
        written += kBlock;
        i += kBlock;
    }
    return i;
}
#endif

}  // namespace

EncodingPlan planEncoding(const void* input, std::size_t n) {
    if (n < 1) return {0, 1};
    std::size_t counts[256] = {};
    countByteValues(static_cast<const unsigned char*>(input), n, counts);
    return chooseOffset(counts, n);
}

void encodeBinary(const void* input, std::size_t n, EncodingPlan plan, char* out) {
    if (n < 1) {
        out[0] = 'x';
        out[1] = '\0';
        return;
    }
    const auto* in = static_cast<const unsigned char*>(input);
    const unsigned char offset = plan.offset;
    *out++ = static_cast<char>(offset);
    std::size_t i = 0;
#if defined(__SSE2__)
    i = encodeBlocks(in, n, offset, out);
#endif
    for (; i < n; ++i) out = putShifted(static_cast<unsigned char>(in[i] - offset), out);
    *out = '\0';
}

std::size_t encodeBinary(const void* input, std::size_t n, char* out) {
    const EncodingPlan plan = planEncoding(input, n);
    encodeBinary(input, n, plan, out);
    return plan.length;
}

std::ptrdiff_t decodeBinary(const char* text, void* output) {
    if (!text) return -1;
    const auto* in = reinterpret_cast<const unsigned char*>(text);
    auto* out = static_cast<unsigned char*>(output);
    const std::size_t length = std::strlen(text);
    if (length == 0) return 0;

    const unsigned char offset = in[0];
    std::size_t i = 1;
    std::size_t written = 0;
    while (i < length) {
#if defined(__SSE2__)
        i = decodePlainBlocks(in, length, offset, i, out, written);
        if (i == length) break;
#endif
        // Output trails input by at least one byte, so in-place decoding reads before it writes.
        if (in[i] == kEscape) {
            const int value = i + 1 < length ? escapedValue(in[i + 1]) : -1;
            if (value < 0) return -1;
            out[written++] = static_cast<unsigned char>(value + offset);
            i += 2;
        } else {
            out[written++] = static_cast<unsigned char>(in[i] + offset);
            ++i;
        }
    }
    return static_cast<std::ptrdiff_t>(written);
}
