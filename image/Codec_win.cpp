#include "image/Codec_win.h"

#include "image/IconChoice.h"

#include <objbase.h>
#include <wincodec.h>
#include <windows.h>

#include <utility>
#include <vector>

namespace s::image {

namespace {

// COM for the length of one call: initialised when the thread had no
// apartment, and undone exactly then. A thread that already runs COM in the
// other model gets RPC_E_CHANGED_MODE, which is no failure: WIC's objects are
// free-threaded and work in either apartment.
class ComScope {
public:
    ComScope() : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComScope()
    {
        if (SUCCEEDED(m_result))
            CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    bool usable() const { return SUCCEEDED(m_result) || m_result == RPC_E_CHANGED_MODE; }

private:
    HRESULT m_result;
};

// Holds one reference to a COM interface and releases it.
template <class I> class Com {
public:
    Com() = default;
    ~Com()
    {
        if (m_p)
            m_p->Release();
    }
    Com(Com&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    Com& operator=(Com&&) = delete;
    I* get() const { return m_p; }
    I* operator->() const { return m_p; }
    I** out() { return &m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    I* m_p = nullptr;
};

Com<IWICImagingFactory> createFactory()
{
    Com<IWICImagingFactory> factory;
    // CLSID_WICImagingFactory (version 1): the second version needs the
    // Windows 7 platform update, and version 1 has all this library uses.
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                     reinterpret_cast<void**>(factory.out()));
    return factory;
}

// Copies a bitmap source of any pixel format into an Image, converting to
// 32bppPBGRA on the way (a no-op converter when it already is).
Image readPixels(IWICImagingFactory* factory, IWICBitmapSource* source)
{
    UINT width = 0, height = 0;
    if (FAILED(source->GetSize(&width, &height)) || width == 0 || height == 0 ||
        width > static_cast<UINT>(Image::kMaxSide) || height > static_cast<UINT>(Image::kMaxSide))
        return {};
    Com<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.out())) ||
        FAILED(converter->Initialize(source, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return {};
    Image image(static_cast<int>(width), static_cast<int>(height));
    if (image.empty())
        return {};
    // A damaged picture (a truncated JPEG, a PNG with a bad checksum) fails
    // here, at the first pixels, not at the header.
    if (FAILED(converter->CopyPixels(nullptr, static_cast<UINT>(image.stride()), static_cast<UINT>(image.byteSize()),
                                     image.data())))
        return {};
    return image;
}

Image decodeWith(IWICImagingFactory* factory, IWICBitmapDecoder* decoder, int preferredSize)
{
    UINT count = 0;
    if (FAILED(decoder->GetFrameCount(&count)) || count == 0)
        return {};
    std::vector<FrameSize> sizes(count);
    for (UINT i = 0; i < count; ++i) {
        Com<IWICBitmapFrameDecode> frame;
        UINT w = 0, h = 0;
        if (SUCCEEDED(decoder->GetFrame(i, frame.out())) && SUCCEEDED(frame->GetSize(&w, &h)))
            sizes[i] = FrameSize{static_cast<int>(w), static_cast<int>(h), 32};
    }
    const int chosen = chooseFrame(sizes, preferredSize);
    if (chosen < 0)
        return {};
    Com<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(static_cast<UINT>(chosen), frame.out())))
        return {};
    return readPixels(factory, frame.get());
}

}  // namespace

Image decode(std::span<const std::uint8_t> bytes, int preferredSize)
{
    if (bytes.empty() || bytes.size() > 0xFFFFFFFFu)
        return {};
    ComScope com;
    if (!com.usable())
        return {};
    Com<IWICImagingFactory> factory = createFactory();
    Com<IWICStream> stream;
    Com<IWICBitmapDecoder> decoder;
    // InitializeFromMemory reads the caller's bytes in place (no copy), which
    // is right for a locked resource and for a buffer that outlives the call.
    // WIC's method takes a non-const pointer but never writes through it.
    if (!factory || FAILED(factory->CreateStream(stream.out())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()))) ||
        FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.out())))
        return {};
    return decodeWith(factory.get(), decoder.get(), preferredSize);
}

Image decodeFile(const char16_t* path, int preferredSize)
{
    if (!path || !*path)
        return {};
    ComScope com;
    if (!com.usable())
        return {};
    Com<IWICImagingFactory> factory = createFactory();
    Com<IWICBitmapDecoder> decoder;
    if (!factory ||
        FAILED(factory->CreateDecoderFromFilename(reinterpret_cast<const wchar_t*>(path), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, decoder.out())))
        return {};
    return decodeWith(factory.get(), decoder.get(), preferredSize);
}

Image scaled(const Image& source, int width, int height)
{
    if (source.empty() || width < 1 || height < 1 || width > Image::kMaxSide || height > Image::kMaxSide)
        return {};
    ComScope com;
    if (!com.usable())
        return {};
    Com<IWICImagingFactory> factory = createFactory();
    Com<IWICBitmap> bitmap;
    Com<IWICBitmapScaler> scaler;
    // CreateBitmapFromMemory copies the pixels, so the source stays the
    // caller's; the const_cast only satisfies the signature.
    if (!factory ||
        FAILED(factory->CreateBitmapFromMemory(static_cast<UINT>(source.width()), static_cast<UINT>(source.height()),
                                               GUID_WICPixelFormat32bppPBGRA, static_cast<UINT>(source.stride()),
                                               static_cast<UINT>(source.byteSize()), const_cast<BYTE*>(source.data()),
                                               bitmap.out())) ||
        FAILED(factory->CreateBitmapScaler(scaler.out())) ||
        FAILED(scaler->Initialize(bitmap.get(), static_cast<UINT>(width), static_cast<UINT>(height),
                                  WICBitmapInterpolationModeFant)))
        return {};
    return readPixels(factory.get(), scaler.get());
}

}  // namespace s::image
