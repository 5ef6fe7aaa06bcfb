#pragma once

#include <cstddef>

// Binary-to-text codec for values kept in text columns. The encoded text starts with an
// offset byte e; every input byte b is written as (b - e) mod 256, except that the results
// 0, 1 and 39 become the escapes 0x01 0x01, 0x01 0x02 and 0x01 0x03. The offset is picked so
// that as few bytes as possible need escaping, and the text never holds a zero byte or an
// apostrophe, so it can sit between apostrophes in an SQL literal as it is.

// Output buffer size encodeBinary needs for n input bytes, terminating zero included:
// n + floor(3n / 254) + 2.
constexpr std::size_t encodedBufferSize(std::size_t n) {
    return n + 3 * (n / 254) + (3 * (n % 254)) / 254 + 2;
}

// Writes the encoded text and its terminating zero byte to out (encodedBufferSize(n) bytes)
// and returns the number of bytes before the terminator. Empty input encodes as "x".
std::size_t encodeBinary(const void* in, std::size_t n, char* out);

// The offset a block is encoded with and the length of its encoded text (terminator not
// counted), known before writing so that a large block's buffer is no larger than its text.
struct EncodingPlan {
    unsigned char offset;
    std::size_t length;
};
EncodingPlan planEncoding(const void* in, std::size_t n);
// encodeBinary with the plan made for these bytes; out holds plan.length + 1 bytes.
void encodeBinary(const void* in, std::size_t n, EncodingPlan plan, char* out);

// Decodes a zero-terminated encoded text into out (room for strlen(in) bytes is always
// enough) and returns the number of bytes written, or -1 for a malformed escape (bytes
// written so far stay). No terminator is written. out may equal in: every byte is written
// before the input position read next. The empty text decodes to 0 bytes.
std::ptrdiff_t decodeBinary(const char* in, void* out);
