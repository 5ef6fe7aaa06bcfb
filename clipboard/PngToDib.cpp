#include "clipboard/PngToDib.h"

#include <windows.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

using Microsoft::WRL::ComPtr;

namespace {
constexpr UINT kBytesPerPixel = 4;

// The first frame of the picture, converted to 32-bit BGRA; none when it does not decode.
ComPtr<IWICBitmapSource> decodeFirstFrame(IWICImagingFactory* factory, std::string_view png) {
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    auto* bytes = reinterpret_cast<BYTE*>(const_cast<char*>(png.data()));
    if (FAILED(factory->CreateStream(&stream)) ||
        FAILED(stream->InitializeFromMemory(bytes, static_cast<DWORD>(png.size()))) ||
        FAILED(factory->CreateDecoder(GUID_ContainerFormatPng, nullptr, &decoder)) ||
        FAILED(decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand)) ||
        FAILED(decoder->GetFrame(0, &frame)) || FAILED(factory->CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr,
                                     0.0, WICBitmapPaletteTypeCustom)))
        return nullptr;
    return converter;
}

std::string headerFor(UINT width, UINT height, DWORD imageBytes) {
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = static_cast<LONG>(width);
    header.biHeight = static_cast<LONG>(height);  // positive: bottom row first, as every reader expects
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biSizeImage = imageBytes;
    return std::string(reinterpret_cast<const char*>(&header), sizeof header);
}

std::optional<std::string> dibOf(IWICBitmapSource* picture) {
    UINT width = 0, height = 0;
    if (FAILED(picture->GetSize(&width, &height)) || width == 0 || height == 0) return std::nullopt;
    const std::uint64_t stride = std::uint64_t{width} * kBytesPerPixel;
    const std::uint64_t imageBytes = stride * height;
    // A DIB's sizes are signed 32-bit numbers.
    if (imageBytes > static_cast<std::uint64_t>(std::numeric_limits<LONG>::max())) return std::nullopt;
    std::vector<BYTE> topDown(static_cast<std::size_t>(imageBytes));
    if (FAILED(picture->CopyPixels(nullptr, static_cast<UINT>(stride), static_cast<UINT>(imageBytes), topDown.data())))
        return std::nullopt;
    std::string dib = headerFor(width, height, static_cast<DWORD>(imageBytes));
    const std::size_t headerBytes = dib.size();
    dib.resize(headerBytes + topDown.size());
    for (UINT row = 0; row < height; ++row)
        std::memcpy(&dib[headerBytes + (height - 1 - row) * stride], &topDown[row * stride], stride);
    return dib;
}
}  // namespace

std::optional<std::string> dibFromPng(std::string_view png) {
    if (png.empty() || png.size() > std::numeric_limits<DWORD>::max()) return std::nullopt;
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory))))
        return std::nullopt;
    ComPtr<IWICBitmapSource> picture = decodeFirstFrame(factory.Get(), png);
    if (!picture) return std::nullopt;
    try {
        return dibOf(picture.Get());
    } catch (const std::bad_alloc&) {
        return std::nullopt;  // a picture too large to hold is not recorded
    }
}
