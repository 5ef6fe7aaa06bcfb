// Pictures offered as PNG, turned into CF_DIB blocks by the platform's imaging component.
#include "clipboard/PngToDib.h"
#include "win_support.h"

// Three columns, two rows, top row first, as blue, green, red, alpha; every pixel different.
const BYTE kPicture[2][3][4] = {{{0, 0, 255, 255}, {0, 255, 0, 255}, {255, 0, 0, 128}},
                                {{10, 20, 30, 255}, {200, 100, 50, 0}, {255, 255, 255, 255}}};
// kPicture as PNG files, written once with Python's zlib: with alpha, and colour only.
const std::string kWithAlpha(
    "\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR\x00\x00\x00\x03\x00\x00\x00\x02\x08\x06\x00\x00\x00\x9d\x74\x66\x1a"
    "\x00\x00\x00\x1dIDAT\x78\xda\x63\xf8\xcf\xc0\xf0\x1f\x0c\x19\xfe\x37\x30\xc8\x89\x70\xfd\x37\x4a\x39\xc1\xf0"
    "\x1f\x08\x00\x89\x47\x0c\x11\x59\xc7\x21\xc9\x00\x00\x00\x00IEND\xae\x42\x60\x82", 86);
const std::string kColourOnly(
    "\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR\x00\x00\x00\x03\x00\x00\x00\x02\x08\x02\x00\x00\x00\x12\x16\xf1\x4d"
    "\x00\x00\x00\x18IDAT\x78\xda\x63\xf8\xcf\xc0\xc0\x00\xc1\x72\x22\x5c\x46\x29\x27\xfe\xff\xff\x0f\x00\x3b\x15"
    "\x07\x95\x80\x6d\x09\x17\x00\x00\x00\x00IEND\xae\x42\x60\x82", 81);

TEST(PngToDib, GivesA32BitDibWithTheBottomRowFirst) {
    for (bool withAlpha : {true, false}) {
        SCOPED_TRACE(withAlpha ? "with alpha" : "colour only");
        const BITMAPINFOHEADER header = {sizeof header, 3, 2, 1, 32, BI_RGB, sizeof kPicture, 0, 0, 0, 0};
        std::string expected(reinterpret_cast<const char*>(&header), sizeof header);
        for (int row : {1, 0})
            for (const BYTE* pixel : kPicture[row]) expected += {char(pixel[0]), char(pixel[1]), char(pixel[2]),
                                                                 char(withAlpha ? pixel[3] : 255)};
        EXPECT_EQ(dibFromPng(withAlpha ? kWithAlpha : kColourOnly), expected);
    }
}

TEST(PngToDib, BytesThatDoNotDecodeGiveNothing) {
    std::string badData = kColourOnly, badSignature = kColourOnly;
    const size_t data = badData.find("IDAT") + 4;
    badData[data] = badData[data + 1] = '\xff';  // no compressed stream starts so
    badSignature[1] = 'X';
    const struct { const char* name; std::string bytes; } cases[] = {
        {"empty", ""},
        {"text", "just some text, not a picture"},
        {"signature and header only", kColourOnly.substr(0, 33)},
        {"cut in half", kColourOnly.substr(0, kColourOnly.size() / 2)},
        {"damaged signature", badSignature},
        {"damaged image data", badData},
    };
    for (const auto& c : cases) EXPECT_FALSE(dibFromPng(c.bytes)) << c.name;
}
