#include "PictureFile.h"
#include "ComInit.h"
#include "Handles.h"
#include <wincodec.h>
#include <cstdint>

namespace lhl {
namespace {

using fw::ComPtr;

// The decoded picture at its own size, as premultiplied 32-bit pixels.
bool OpenPicture(IWICImagingFactory* factory, const std::wstring& path, ComPtr<IWICFormatConverter>& pixels) {
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    return SUCCEEDED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                        WICDecodeMetadataCacheOnDemand, decoder.Put())) &&
           SUCCEEDED(decoder->GetFrame(0, frame.Put())) &&
           SUCCEEDED(factory->CreateFormatConverter(pixels.Put())) &&
           SUCCEEDED(pixels->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone,
                                        nullptr, 0.0, WICBitmapPaletteTypeCustom));
}

// A top-down 32-bit section of `size`; `bits` gets its pixels.
HBITMAP CreateSection(SIZE size, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

// GDI draws the section without its alpha: what shows through is mixed in here, once.
void LayOnBackdrop(uint8_t* pixels, size_t count, COLORREF backdrop) {
    const uint8_t under[3] = {GetBValue(backdrop), GetGValue(backdrop), GetRValue(backdrop)};
    for (uint8_t* p = pixels; p < pixels + count * 4; p += 4) {
        const unsigned clear = 255u - p[3];
        for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(p[c] + (under[c] * clear + 127) / 255);
        p[3] = 255;
    }
}

} // namespace

HBITMAP LoadPictureFile(const std::wstring& path, SIZE size, COLORREF backdrop) {
    if (size.cx <= 0 || size.cy <= 0) return nullptr;
    fw::ComScope com; // the objects below are released before it ends
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICFormatConverter> pixels;
    ComPtr<IWICBitmapScaler> scaled;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  factory.PutVoid())) ||
        !OpenPicture(factory.Get(), path, pixels) || FAILED(factory->CreateBitmapScaler(scaled.Put())) ||
        FAILED(scaled->Initialize(pixels.Get(), static_cast<UINT>(size.cx), static_cast<UINT>(size.cy),
                                  WICBitmapInterpolationModeFant)))
        return nullptr;
    void* bits = nullptr;
    fw::UniqueHBitmap bitmap(CreateSection(size, &bits));
    const UINT stride = static_cast<UINT>(size.cx) * 4;
    const UINT bytes = stride * static_cast<UINT>(size.cy);
    if (!bitmap || FAILED(scaled->CopyPixels(nullptr, stride, bytes, static_cast<BYTE*>(bits)))) return nullptr;
    LayOnBackdrop(static_cast<uint8_t*>(bits), static_cast<size_t>(size.cx) * static_cast<size_t>(size.cy), backdrop);
    return bitmap.release();
}

} // namespace lhl
