#include "app/win/PanelPictures.h"

#include <wincodec.h>

#include <cwctype>
#include <string>

#include "platform/windows/ComApartment.h"

namespace talvane {
namespace {

template <typename T>
struct ComPtr {
    T* p = nullptr;
    ~ComPtr() {
        if (p != nullptr) p->Release();
    }
    T** out() { return &p; }
    T* operator->() const { return p; }
};

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
    if (FAILED(factory->CreateStream(stream.out())) ||
        FAILED(stream->InitializeFromMemory(bytes, size)) ||
        FAILED(factory->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand,
                                                decoder.out())) ||
        FAILED(decoder->GetFrame(0, frame.out())) ||
        FAILED(factory->CreateFormatConverter(converter.out())) ||
        FAILED(converter->Initialize(frame.p, GUID_WICPixelFormat32bppPBGRA,
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
    IWICBitmapSource* source = converter.p;
    if (width != shippedWidth || height != shippedHeight) {
        if (width == 0 || height == 0 || FAILED(factory->CreateBitmapScaler(scaler.out())) ||
            FAILED(
                scaler->Initialize(converter.p, width, height, WICBitmapInterpolationModeFant))) {
            return {};
        }
        source = scaler.p;
    }

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down, like WIC's rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) return {};
    if (FAILED(
            source->CopyPixels(nullptr, width * 4, width * height * 4, static_cast<BYTE*>(bits)))) {
        DeleteObject(bitmap);
        return {};
    }
    return {bitmap, static_cast<int>(width), static_cast<int>(height)};
}

}  // namespace

int PictureScaleFor(UINT dpi) {
    if (dpi >= 168) return 200;  // 175 % and more
    if (dpi >= 120) return 150;  // 125 % and more
    return 100;
}

void DrawPicture(HDC dc, const PanelBitmap& bitmap, int x, int y, int width, int height) {
    if (bitmap.bitmap == nullptr) return;
    const HDC source = CreateCompatibleDC(dc);
    const HGDIOBJ old = SelectObject(source, bitmap.bitmap);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, x, y, width, height, source, 0, 0, bitmap.width, bitmap.height, blend);
    SelectObject(source, old);
    DeleteDC(source);
}

PanelPictures::~PanelPictures() { release(); }

void PanelPictures::release() {
    if (background_.bitmap != nullptr) DeleteObject(background_.bitmap);
    for (PanelBitmap& p : pictures_) {
        if (p.bitmap != nullptr) DeleteObject(p.bitmap);
        p = {};
    }
    background_ = {};
}

void PanelPictures::prepare(UINT dpi) {
    if (dpi == dpi_) return;
    release();
    dpi_ = dpi;
    const int scale = PictureScaleFor(dpi);

    // WIC is reached through COM, joined for the decoding only.
    const ComApartment apartment;
    ComPtr<IWICImagingFactory> factory;
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                     reinterpret_cast<void**>(factory.out()));
    background_ = decode(factory.p, "background", scale, dpi);
    const auto set = [&](Picture which, const char* name) {
        pictures_[static_cast<int>(which)] = decode(factory.p, name, scale, dpi);
    };
    set(Picture::ArrowRed, "arrow-red");
    set(Picture::ArrowBlue, "arrow-blue");
    set(Picture::NewBadge, "new-badge");
    set(Picture::BalloonTipTop, "balloon-tip-top");
    set(Picture::BalloonTipBottom, "balloon-tip-bottom");
    set(Picture::RowHighlight, "row-highlight");
}

}  // namespace talvane
