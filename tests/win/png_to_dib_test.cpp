// Pictures offered as PNG, turned into CF_DIB blocks by the platform's imaging component.
#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "clipboard/PngToDib.h"

using Microsoft::WRL::ComPtr;

namespace {

// Three columns, two rows, top row first, as blue, green, red, alpha; every pixel different.
const BYTE kPicture[2][3][4] = {
    {{0, 0, 255, 255}, {0, 255, 0, 255}, {255, 0, 0, 128}},
    {{10, 20, 30, 255}, {200, 100, 50, 0}, {255, 255, 255, 255}},
};

// kPicture written as a PNG by the platform's encoder, with or without its alpha channel.
std::string encodePicture(bool withAlpha) {
    const WICPixelFormatGUID format = withAlpha ? GUID_WICPixelFormat32bppBGRA : GUID_WICPixelFormat24bppBGR;
    std::vector<BYTE> pixels;
    for (const auto& row : kPicture)
        for (const auto& pixel : row) pixels.insert(pixels.end(), pixel, pixel + (withAlpha ? 4 : 3));
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmap> bitmap;
    ComPtr<IStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    WICPixelFormatGUID written = format;
    const UINT stride = static_cast<UINT>(pixels.size() / 2);
    const bool encoded =
        SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))) &&
        SUCCEEDED(factory->CreateBitmapFromMemory(3, 2, format, stride, stride * 2, pixels.data(), &bitmap)) &&
        SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) &&
        SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
        SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
        SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
        SUCCEEDED(frame->SetSize(3, 2)) && SUCCEEDED(frame->SetPixelFormat(&written)) && written == format &&
        SUCCEEDED(frame->WriteSource(bitmap.Get(), nullptr)) && SUCCEEDED(frame->Commit()) &&
        SUCCEEDED(encoder->Commit());
    EXPECT_TRUE(encoded);
    if (!encoded) return {};
    HGLOBAL memory = nullptr;
    STATSTG stat = {};
    GetHGlobalFromStream(stream.Get(), &memory);
    stream->Stat(&stat, STATFLAG_NONAME);
    std::string png(static_cast<const char*>(GlobalLock(memory)), static_cast<size_t>(stat.cbSize.QuadPart));
    GlobalUnlock(memory);
    return png;
}

class PngToDib : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
    void TearDown() override { CoUninitialize(); }
};

}  // namespace

TEST_F(PngToDib, GivesA32BitDibWithTheBottomRowFirst) {
    for (bool withAlpha : {true, false}) {
        SCOPED_TRACE(withAlpha ? "with alpha" : "colour only");
        const std::optional<std::string> dib = dibFromPng(encodePicture(withAlpha));
        ASSERT_TRUE(dib);
        const BITMAPINFOHEADER expected = {sizeof(BITMAPINFOHEADER), 3, 2, 1, 32, BI_RGB, 2 * 3 * 4, 0, 0, 0, 0};
        ASSERT_EQ(dib->size(), sizeof expected + 2 * 3 * 4);
        EXPECT_EQ(std::memcmp(dib->data(), &expected, sizeof expected), 0) << "the header";
        for (int row = 0; row < 2; ++row)
            for (int column = 0; column < 3; ++column) {
                BYTE pixel[4];
                std::memcpy(pixel, kPicture[row][column], 4);
                if (!withAlpha) pixel[3] = 255;
                EXPECT_EQ(std::memcmp(dib->data() + sizeof expected + ((1 - row) * 3 + column) * 4, pixel, 4), 0)
                    << "row " << row << " column " << column;
            }
    }
}

TEST_F(PngToDib, BytesThatDoNotDecodeGiveNothing) {
    const std::string png = encodePicture(false);
    std::string badData = png, badSignature = png;
    const size_t data = badData.find("IDAT") + 4;
    badData[data] = badData[data + 1] = '\xff';  // no compressed stream starts so
    badSignature[1] = 'X';
    const struct { const char* name; std::string bytes; } cases[] = {
        {"empty", ""},
        {"text", "just some text, not a picture"},
        {"signature and header only", png.substr(0, 33)},
        {"cut in half", png.substr(0, png.size() / 2)},
        {"damaged signature", badSignature},
        {"damaged image data", badData},
    };
    for (const auto& c : cases) EXPECT_FALSE(dibFromPng(c.bytes)) << c.name;
}
