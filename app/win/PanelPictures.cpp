#include "app/win/PanelPictures.h"

#include <algorithm>

#include <wincodec.h>
#include <wrl/client.h>

#include <cwctype>
#include <string>
#include <utility>

#include "platform/windows/ComApartment.h"

namespace talvane {
namespace {

using Microsoft::WRL::ComPtr;

// Resource names follow the files in app/win/art: "BACKGROUND_150". The
// picture comes out at its size for `dpi`, so that painting never stretches.
PanelBitmap decode(IWICImagingFactory* factory, const char* name, int scale, UINT dpi) {
    std::wstring id;
    for (const char* c = name; *c != '\0'; ++c) id += *c == '-' ? L'_' : towupper(*c);
    id += L'_' + std::to_wstring(scale);

    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC resource = FindResourceW(module, id.c_str(), MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (resource == nullptr || factory == nullptr) return {};
    auto* bytes = static_cast<BYTE*>(LockResource(LoadResource(module, resource)));
    const DWORD size = SizeofResource(module, resource);

    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    ComPtr<IWICBitmapScaler> scaler;
    UINT shippedWidth = 0;
    UINT shippedHeight = 0;
    if (FAILED(factory->CreateStream(stream.GetAddressOf())) ||
        FAILED(stream->InitializeFromMemory(bytes, size)) ||
        FAILED(factory->CreateDecoderFromStream(
            stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.GetAddressOf())) ||
        FAILED(decoder->GetFrame(0, frame.GetAddressOf())) ||
        FAILED(factory->CreateFormatConverter(converter.GetAddressOf())) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA,
                                     WICBitmapDitherTypeNone, nullptr, 0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->GetSize(&shippedWidth, &shippedHeight))) {
        return {};
    }
    // Between two shipped scales the premultiplied pixels are scaled once
    // here (premultiplied, so that no dark fringe grows at the edges).
    const UINT width = static_cast<UINT>(
        MulDiv(static_cast<int>(shippedWidth), static_cast<int>(dpi) * 100, scale * 96));
    const UINT height = static_cast<UINT>(
        MulDiv(static_cast<int>(shippedHeight), static_cast<int>(dpi) * 100, scale * 96));
    IWICBitmapSource* source = converter.Get();
    if (width != shippedWidth || height != shippedHeight) {
        if (width == 0 || height == 0 ||
            FAILED(factory->CreateBitmapScaler(scaler.GetAddressOf())) ||
            FAILED(scaler->Initialize(converter.Get(), width, height,
                                      WICBitmapInterpolationModeFant))) {
            return {};
        }
        source = scaler.Get();
    }

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down, like WIC's rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    win::UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || FAILED(source->CopyPixels(nullptr, width * 4, width * height * 4,
                                             static_cast<BYTE*>(bits)))) {
        return {};
    }
    return {std::move(bitmap), static_cast<int>(width), static_cast<int>(height)};
}

}  // namespace

int PictureScaleFor(UINT dpi) {
    if (dpi >= 168) return 200;  // 175 % and more
    if (dpi >= 120) return 150;  // 125 % and more
    return 100;
}

void DrawPicture(HDC dc, const PanelBitmap& bitmap, int x, int y, int width, int height) {
    const Slice column{0, bitmap.width, x, width};
    const Slice row{0, bitmap.height, y, height};
    DrawPictureSlices(dc, bitmap, {&column, 1}, {&row, 1});
}

void DrawPictureSlices(HDC dc, const PanelBitmap& bitmap, std::span<const Slice> columns,
                       std::span<const Slice> rows) {
    if (!bitmap.bitmap) return;
    const win::UniqueMemoryDc source(CreateCompatibleDC(dc));
    if (!source) return;
    const win::SelectedObject selected(source.get(), bitmap.bitmap.get());
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    for (const Slice& row : rows) {
        for (const Slice& column : columns) {
            if (column.length <= 0 || row.length <= 0) continue;
            // gdi32's own entry point: msimg32, which forwards to it, is not
            // a known DLL and would be looked for beside the program first.
            GdiAlphaBlend(dc, column.at, row.at, column.length, row.length, source.get(),
                          column.from, row.from, column.count, row.count, blend);
        }
    }
}

void DrawBackgroundToEdges(HDC dc, const PanelBitmap& bitmap, SIZE drawn, SIZE window) {
    // 8 pixels at 100 %: the rounded corners and the border lie inside.
    const int band = std::max(1, std::min(bitmap.width, bitmap.height) / 30);
    const auto columns = EdgeSlices(band, bitmap.width, drawn.cx, window.cx);
    const auto rows = EdgeSlices(band, bitmap.height, drawn.cy, window.cy);
    DrawPictureSlices(dc, bitmap, columns, rows);
}

void PanelPictures::prepare(UINT dpi) {
    if (dpi == dpi_) return;
    dpi_ = dpi;
    const int scale = PictureScaleFor(dpi);

    // WIC is reached through COM, joined for the decoding only.
    const ComApartment apartment;
    ComPtr<IWICImagingFactory> factory;
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                     reinterpret_cast<void**>(factory.GetAddressOf()));
    background_ = decode(factory.Get(), "background", scale, dpi);
    const auto set = [&](Picture which, const char* name) {
        pictures_[static_cast<int>(which)] = decode(factory.Get(), name, scale, dpi);
    };
    set(Picture::ArrowRed, "arrow-red");
    set(Picture::ArrowBlue, "arrow-blue");
    set(Picture::NewBadge, "new-badge");
    set(Picture::BalloonTipTop, "balloon-tip-top");
    set(Picture::BalloonTipBottom, "balloon-tip-bottom");
    set(Picture::RowHighlight, "row-highlight");
}

}  // namespace talvane
