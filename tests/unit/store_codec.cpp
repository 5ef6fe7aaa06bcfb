#include "store/BinaryCodec.h"

#include "tests/unit/store_codec_reference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using store_test::Bytes;
using store_test::referenceDecode;
using store_test::referenceEncode;

// Into a buffer of exactly the bound, so that the sanitizer sees any write past it.
std::string encode(const Bytes& in) {
    std::vector<char> out(encodedBufferSize(in.size()), '\xAA');
    const std::size_t length = encodeBinary(in.data(), in.size(), out.data());
    EXPECT_LT(length, out.size());
    EXPECT_EQ(out[length], '\0') << "terminator missing";
    return std::string(out.data(), length);
}

Bytes asBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

// Every property of one input: equal to the reference, zero- and apostrophe-free, within the
// bound, and decoded back both into a separate buffer and in place.
void checkRoundTrip(const Bytes& in) {
    const std::string encoded = encode(in);
    ASSERT_EQ(asBytes(encoded), referenceEncode(in)) << "size " << in.size();
    ASSERT_EQ(encoded.find('\0'), std::string::npos);
    ASSERT_EQ(encoded.find('\''), std::string::npos);
    ASSERT_LE(encoded.size(), in.size() + 3 * in.size() / 254 + 1);

    Bytes decoded(encoded.size());
    ASSERT_EQ(decodeBinary(encoded.c_str(), decoded.data()), static_cast<std::ptrdiff_t>(in.size()));
    decoded.resize(in.size());
    ASSERT_EQ(decoded, in);

    std::string inPlace = encoded;
    ASSERT_EQ(decodeBinary(inPlace.c_str(), inPlace.data()), static_cast<std::ptrdiff_t>(in.size()));
    ASSERT_EQ(Bytes(inPlace.begin(), inPlace.begin() + static_cast<long>(in.size())), in);
}

Bytes randomBytes(std::mt19937& random, std::size_t size, unsigned alphabet, unsigned first = 0) {
    std::uniform_int_distribution<unsigned> pick(0, alphabet - 1);
    Bytes bytes(size);
    for (auto& b : bytes) b = static_cast<unsigned char>(first + pick(random));
    return bytes;
}

TEST(BinaryCodec, EmptyInputIsX) {
    char out[2] = {'?', '?'};
    EXPECT_EQ(encodeBinary("", 0, out), 1u);
    EXPECT_EQ(out[0], 'x');
    EXPECT_EQ(out[1], '\0');
    unsigned char decoded[1];
    EXPECT_EQ(decodeBinary("x", decoded), 0);
}

TEST(BinaryCodec, OffsetChoiceAndEscapes) {
    Bytes everyValue(256);
    for (unsigned v = 0; v < 256; ++v) everyValue[v] = static_cast<unsigned char>(v);
    Bytes oneToThirtyEight;
    for (unsigned v = 1; v <= 38; ++v) oneToThirtyEight.push_back(static_cast<unsigned char>(v));

    const struct {
        const char* what;
        Bytes in;
        std::string expected;
    } cases[] = {
        {"a zero byte", {0x00}, "\x01\xff"},
        {"a letter", {'A'}, "\x01\x40"},
        {"the first offset whose sum reaches 0 wins", {1, 2, 40}, std::string("\x03\xfe\xff\x25")},
        {"39 is never an offset", oneToThirtyEight, ""},
        {"text without low bytes takes offset 1", {'a', 'b'}, "\x01\x60\x61"},
    };
    for (const auto& c : cases) {
        const std::string encoded = encode(c.in);
        if (!c.expected.empty()) {
            EXPECT_EQ(encoded, c.expected) << c.what;
        }
        EXPECT_EQ(asBytes(encoded), referenceEncode(c.in)) << c.what;
    }
    EXPECT_EQ(static_cast<unsigned char>(encode(oneToThirtyEight)[0]), 40u);

    // With all 256 values present every offset needs three escapes, so 1 is kept:
    // 1 -> 01 01, 2 -> 01 02, 40 -> 01 03.
    const std::string encoded = encode(everyValue);
    ASSERT_EQ(encoded.size(), 1u + 256u + 3u);
    EXPECT_EQ(encoded[0], '\x01');
    EXPECT_EQ(encoded.substr(1, 1), "\xff");            // 0 - 1
    EXPECT_EQ(encoded.substr(2, 4), "\x01\x01\x01\x02");  // 1 and 2
    EXPECT_EQ(encoded.substr(2 + 4 + 37, 2), "\x01\x03");  // 40
}

TEST(BinaryCodec, MalformedEscapesGiveMinusOne) {
    const struct {
        const char* what;
        std::string text;
        std::size_t goodPrefix;  // bytes decoded before the bad escape
    } cases[] = {
        {"0x01 then 0x04", "\x01\x41\x01\x04\x41", 1},
        {"0x01 then a letter", "\x05" "abc\x01z", 3},
        {"0x01 at the end", "\x05" "abcdefghij\x01", 10},
        {"0x01 right after the offset", "\x05\x01", 0},
        {"0x01 0x01 then 0x01 0xff", "\x05\x01\x01" "12345678\x01\xff" "9", 9},
    };
    for (const auto& c : cases) {
        Bytes out(c.text.size() + 8, 0xEE);
        EXPECT_EQ(decodeBinary(c.text.c_str(), out.data()), -1) << c.what;
        Bytes reference;
        EXPECT_EQ(referenceDecode(reinterpret_cast<const unsigned char*>(c.text.c_str()), reference), -1) << c.what;
        ASSERT_EQ(reference.size(), c.goodPrefix) << c.what;
        EXPECT_EQ(Bytes(out.begin(), out.begin() + static_cast<long>(c.goodPrefix)), reference) << c.what;
    }
}

TEST(BinaryCodec, EmptyTextAndNullDecodeSafely) {
    unsigned char out[1] = {0xEE};
    EXPECT_EQ(decodeBinary("", out), 0);
    EXPECT_EQ(out[0], 0xEE);
    EXPECT_EQ(decodeBinary(nullptr, out), -1);
}

TEST(BinaryCodec, OffsetByteAloneDecodesToNothing) {
    unsigned char out[1];
    EXPECT_EQ(decodeBinary("\x07", out), 0);
}

TEST(BinaryCodec, EveryStringOfUpToTwoBytesRoundTrips) {
    checkRoundTrip({});
    for (unsigned a = 0; a < 256; ++a) {
        checkRoundTrip({static_cast<unsigned char>(a)});
        for (unsigned b = 0; b < 256; ++b) checkRoundTrip({static_cast<unsigned char>(a), static_cast<unsigned char>(b)});
    }
}

TEST(BinaryCodec, RunsOfOneValueRoundTrip) {
    for (unsigned v = 0; v < 256; ++v)
        for (std::size_t size : {3u, 7u, 8u, 9u, 16u, 17u, 255u})
            checkRoundTrip(Bytes(size, static_cast<unsigned char>(v)));
}

TEST(BinaryCodec, RandomStringsUpToFourKiBRoundTrip) {
    std::mt19937 random(20240601);
    // Alphabets: every byte, text-like, a few values near the escape triggers, two values.
    const struct {
        unsigned size;
        unsigned first;
    } alphabets[] = {{256, 0}, {95, 32}, {42, 0}, {4, 0}, {2, 38}};
    for (std::size_t size = 0; size <= 4096; size += (size < 64 ? 1 : 37)) {
        for (const auto& alphabet : alphabets) checkRoundTrip(randomBytes(random, size, alphabet.size, alphabet.first));
    }
}

TEST(BinaryCodec, EscapesAtEveryBlockPosition) {
    // Every byte value at each position of the first 16-byte blocks, alone and as a pair. The
    // tail holds every value twice except 1, 2 and 40, which keeps the offset at 1, so the
    // values 1, 2 and 40 at the position must be escaped.
    Bytes tail;
    for (unsigned v = 0; v < 512; ++v)
        if (v % 256 != 1 && v % 256 != 2 && v % 256 != 40) tail.push_back(static_cast<unsigned char>(v));
    for (std::size_t position = 0; position < 40; ++position) {
        std::size_t escapedSizes = 0;
        for (unsigned special = 0; special < 256; ++special) {
            Bytes in(40, 'a');
            in[position] = static_cast<unsigned char>(special);
            in.insert(in.end(), tail.begin(), tail.end());
            checkRoundTrip(in);
            if (encode(in).size() > 1 + in.size()) ++escapedSizes;
            in[position + 1] = static_cast<unsigned char>(special);
            checkRoundTrip(in);
        }
        EXPECT_EQ(escapedSizes, 3u) << "position " << position;
    }
}

TEST(BinaryCodec, InputsThatFillTheBoundExactly) {
    // Every value equally often needs exactly floor(3n/254) escapes for n up to a few
    // thousand: the output fills its buffer to the last byte, with escapes in the final blocks.
    std::mt19937 random(5);
    for (unsigned rounds = 1; rounds <= 12; ++rounds) {
        Bytes ascending;
        for (unsigned r = 0; r < rounds; ++r)
            for (unsigned v = 0; v < 256; ++v) ascending.push_back(static_cast<unsigned char>(v));
        const Bytes descending(ascending.rbegin(), ascending.rend());
        Bytes shuffled = ascending;
        std::shuffle(shuffled.begin(), shuffled.end(), random);
        for (const Bytes& in : {ascending, descending, shuffled}) {
            checkRoundTrip(in);
            EXPECT_EQ(encode(in).size() + 1, encodedBufferSize(in.size())) << rounds << " rounds";
        }
    }
}

TEST(BinaryCodec, LargeRandomBuffersRoundTrip) {
    std::mt19937 random(77);
    for (std::size_t size : {std::size_t(1) << 20, std::size_t(3) << 18, std::size_t(999'983)}) {
        checkRoundTrip(randomBytes(random, size, 256));
        checkRoundTrip(randomBytes(random, size, 90, 32));
    }
}

TEST(BinaryCodec, BufferBoundIsExact) {
    EXPECT_EQ(encodedBufferSize(0), 2u);
    EXPECT_EQ(encodedBufferSize(84), 84u + 0 + 2);
    EXPECT_EQ(encodedBufferSize(85), 85u + 1 + 2);
    EXPECT_EQ(encodedBufferSize(254), 254u + 3 + 2);
    const std::size_t big = std::size_t(1) << 40;
    EXPECT_EQ(encodedBufferSize(big), big + 3 * big / 254 + 2);
    // Every value equally often: no offset can avoid escapes.
    Bytes worst;
    for (int round = 0; round < 40; ++round)
        for (unsigned v = 0; v < 256; ++v) worst.push_back(static_cast<unsigned char>(v));
    const std::string encoded = encode(worst);
    EXPECT_EQ(encoded.size(), 1 + worst.size() + 3 * 40);
    EXPECT_LE(encoded.size() + 1, encodedBufferSize(worst.size()));
}

}  // namespace
