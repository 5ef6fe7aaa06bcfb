// Pictures offered as PNG, turned into CF_DIB blocks by the platform's imaging component.
#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "clipboard/PngToDib.h"

using Microsoft::WRL::ComPtr;

namespace {

struct Pixel {
    BYTE blue, green, red, alpha;
    bool operator==(const Pixel& other) const { return std::memcmp(this, &other, sizeof other) == 0; }
};

// Three columns, two rows, top row first; every pixel different.
const Pixel kPicture[2][3] = {
    {{0, 0, 255, 255}, {0, 255, 0, 255}, {255, 0, 0, 128}},
    {{10, 20, 30, 255}, {200, 100, 50, 0}, {255, 255, 255, 255}},
};

class PngToDib : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                               IID_PPV_ARGS(&factory_))));
    }
    void TearDown() override {
        factory_.Reset();
        CoUninitialize();
    }

    // kPicture written as a PNG by the platform's encoder, from pixels in `format`.
    std::string encode(const WICPixelFormatGUID& format) {
        const bool withAlpha = format == GUID_WICPixelFormat32bppBGRA;
        const UINT bytesPerPixel = withAlpha ? 4 : 3;
        std::vector<BYTE> pixels;
        for (const auto& row : kPicture)
            for (const Pixel& p : row) {
                pixels.insert(pixels.end(), {p.blue, p.green, p.red});
                if (withAlpha) pixels.push_back(p.alpha);
            }
        ComPtr<IWICBitmap> bitmap;
        EXPECT_TRUE(SUCCEEDED(factory_->CreateBitmapFromMemory(3, 2, format, 3 * bytesPerPixel,
                                                               static_cast<UINT>(pixels.size()), pixels.data(),
                                                               &bitmap)));
        ComPtr<IStream> stream;
        ComPtr<IWICBitmapEncoder> encoder;
        ComPtr<IWICBitmapFrameEncode> frame;
        WICPixelFormatGUID written = format;
        const bool encoded =
            SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) &&
            SUCCEEDED(factory_->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
            SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
            SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
            SUCCEEDED(frame->SetSize(3, 2)) && SUCCEEDED(frame->SetPixelFormat(&written)) &&
            SUCCEEDED(frame->WriteSource(bitmap.Get(), nullptr)) && SUCCEEDED(frame->Commit()) &&
            SUCCEEDED(encoder->Commit());
        EXPECT_TRUE(encoded);
        EXPECT_TRUE(written == format) << "the encoder chose another pixel format";
        HGLOBAL memory = nullptr;
        GetHGlobalFromStream(stream.Get(), &memory);
        STATSTG stat = {};
        stream->Stat(&stat, STATFLAG_NONAME);
        std::string png(static_cast<const char*>(GlobalLock(memory)), static_cast<std::size_t>(stat.cbSize.QuadPart));
        GlobalUnlock(memory);
        return png;
    }

    ComPtr<IWICImagingFactory> factory_;
};

}  // namespace

TEST_F(PngToDib, GivesA32BitDibWithTheBottomRowFirst) {
    const struct {
        const char* name;
        WICPixelFormatGUID format;
        bool keepsAlpha;
    } cases[] = {
        {"with alpha", GUID_WICPixelFormat32bppBGRA, true},
        {"colour only", GUID_WICPixelFormat24bppBGR, false},
    };
    for (const auto& c : cases) {
        const std::string png = encode(c.format);
        ASSERT_EQ(png.compare(0, 8, "\x89PNG\r\n\x1a\n"), 0) << c.name;
        const std::optional<std::string> dib = dibFromPng(png);
        ASSERT_TRUE(dib) << c.name;
        BITMAPINFOHEADER header;
        ASSERT_EQ(dib->size(), sizeof header + 2 * 3 * sizeof(Pixel)) << c.name;
        std::memcpy(&header, dib->data(), sizeof header);
        EXPECT_EQ(header.biSize, sizeof header) << c.name;
        EXPECT_EQ(header.biWidth, 3) << c.name;
        EXPECT_EQ(header.biHeight, 2) << c.name;
        EXPECT_EQ(header.biPlanes, 1) << c.name;
        EXPECT_EQ(header.biBitCount, 32) << c.name;
        EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB)) << c.name;
        EXPECT_EQ(header.biSizeImage, 2 * 3 * sizeof(Pixel)) << c.name;
        const auto* rows = reinterpret_cast<const Pixel*>(dib->data() + sizeof header);
        for (int row = 0; row < 2; ++row)
            for (int column = 0; column < 3; ++column) {
                Pixel expected = kPicture[row][column];
                if (!c.keepsAlpha) expected.alpha = 255;
                EXPECT_TRUE(rows[(1 - row) * 3 + column] == expected) << c.name << " row " << row << " column " << column;
            }
    }
}

TEST_F(PngToDib, BytesThatDoNotDecodeGiveNothing) {
    const std::string png = encode(GUID_WICPixelFormat24bppBGR);
    std::string badData = png;
    const std::size_t data = badData.find("IDAT") + 4;
    badData[data] = badData[data + 1] = '\xff';  // no compressed stream starts so
    std::string notPng = png;
    notPng[1] = 'X';  // the signature
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"text", "just some text, not a picture"},
        {"signature and header only", png.substr(0, 33)},
        {"cut in half", png.substr(0, png.size() / 2)},
        {"damaged signature", notPng},
        {"damaged image data", badData},
    };
    for (const auto& c : cases) EXPECT_FALSE(dibFromPng(c.bytes)) << c.name;
}
