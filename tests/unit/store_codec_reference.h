#pragma once
// The codec written the plain way, one byte at a time. The fast codec in the store must agree
// with it byte for byte; the unit tests and the fuzz targets both compare against it.

#include <cstddef>
#include <vector>

namespace store_test {

using Bytes = std::vector<unsigned char>;

inline Bytes referenceEncode(const Bytes& in) {
    if (in.empty()) return {'x'};
    std::size_t counts[256] = {};
    for (unsigned char b : in) ++counts[b];
    std::size_t fewest = in.size();
    unsigned offset = 0;
    for (unsigned i = 1; i < 256; ++i) {
        if (i == 39) continue;
        const std::size_t sum = counts[i] + counts[(i + 1) % 256] + counts[(i + 39) % 256];
        if (sum < fewest) {
            fewest = sum;
            offset = i;
            if (sum == 0) break;
        }
    }
    Bytes out{static_cast<unsigned char>(offset)};
    for (unsigned char b : in) {
        const unsigned char x = static_cast<unsigned char>(b - offset);
        if (x == 0) out.insert(out.end(), {1, 1});
        else if (x == 1) out.insert(out.end(), {1, 2});
        else if (x == 39) out.insert(out.end(), {1, 3});
        else out.push_back(x);
    }
    return out;
}

// -1 for a malformed escape; the bytes decoded up to it are left in out.
inline long referenceDecode(const unsigned char* in, Bytes& out) {
    out.clear();
    if (!*in) return 0;
    const unsigned char offset = *in++;
    while (*in) {
        unsigned char value = *in++;
        if (value == 1) {
            const unsigned char code = *in;
            if (code == 1) value = 0;
            else if (code == 2) value = 1;
            else if (code == 3) value = 39;
            else return -1;
            ++in;
        }
        out.push_back(static_cast<unsigned char>(value + offset));
    }
    return static_cast<long>(out.size());
}

}  // namespace store_test
