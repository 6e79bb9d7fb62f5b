#include "imaging/TMultiP.h"

#include "data/Coding.h"
#include "data/Files.h"
#include "imaging/ColorReduce.h"
#include "imaging/FormatSniff.h"
#include "imaging/Image.h"
#include "imaging/Pcx.h"
#include "toolkit/Controls.h"
#include "toolkit/Palette.h"
#include "toolkit/Text.h"

#include <objbase.h>
#include <wincodec.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

namespace slumra {

namespace {

HPALETTE gDecoderPalette = nullptr;
ImageMessageSink gSink;
// A message box runs its own message loop, in which a window may load a picture again. While
// one is up, further messages are dropped: a failing picture gives one box at a time, never a
// stack of them behind each other.
bool gSaying = false;
// The failures already told (path and content), so that a picture loaded again and again, at
// start-up or on every change of record, is not reported every time.
std::set<std::pair<std::string, std::uint64_t>> gReported;

// Error codes of the decoders (success is 1 or more).
enum : int {
    kErrOpen = 0,
    kErrUnknownFormat = -1,
    kErrDamaged = -2,
    kErrTooLarge = -3,
    kErrNoMemory = -4,
    kErrNoDecoder = -5,
};

void Say(MessageKind kind, const std::string& text) {
    if (gSaying) return;
    gSaying = true;
    if (gSink) {
        gSink(kind, text);
    } else {
        MessageBoxW(nullptr, tk::Widen(text).c_str(), kind == MessageKind::Error ? L"Fout" : L"Informatie",
                    MB_OK | (kind == MessageKind::Error ? MB_ICONERROR : MB_ICONINFORMATION) | MB_TASKMODAL);
    }
    gSaying = false;
}

// FNV-1a of the file's bytes: tells a file changed since its failure was told.
std::uint64_t ContentHash(const std::string& bytes) {
    std::uint64_t h = 14695981039346656037ull;
    for (char c : bytes) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return h;
}

// True the first time a failure of this file with this content is met and can be told (no
// other message is up).
bool FirstReport(const std::string& path, const std::string& bytes) {
    return !gSaying && gReported.insert({path, ContentHash(bytes)}).second;
}

template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (p_ != nullptr) p_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T** Put() { return &p_; }
    T* operator->() const { return p_; }
    T* Get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

// Each thread that decodes has its own factory in its own apartment: the start-up decodes its
// skins on a second thread.
struct ThreadFactory {
    bool Tried = false;
    bool ComStarted = false;
    IWICImagingFactory* Factory = nullptr;
};
thread_local ThreadFactory tFactory;

IWICImagingFactory* Factory() {
    if (!tFactory.Tried) {
        tFactory.Tried = true;
        tFactory.ComStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IWICImagingFactory, reinterpret_cast<void**>(&tFactory.Factory))))
            tFactory.Factory = nullptr;
    }
    return tFactory.Factory;
}

// The most pixels a picture may have: decoding one takes 7 bytes a pixel at once (the
// decoder's 32-bit rows and our 24-bit copy), 448 MB at this limit.
constexpr std::uint64_t kMaxPixels = 64u * 1024 * 1024;

// Decodes `bytes` with the WIC decoder of `container` into 24-bit RGB.
int DecodeWic(const std::string& bytes, const GUID& container, RgbImage& out) {
    IWICImagingFactory* factory = Factory();
    if (factory == nullptr) return kErrNoDecoder;
    ComPtr<IWICStream> stream;
    if (FAILED(factory->CreateStream(stream.Put())) ||
        FAILED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                            static_cast<DWORD>(bytes.size()))))
        return kErrNoMemory;
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoder(container, nullptr, decoder.Put()))) return kErrNoDecoder;
    if (FAILED(decoder->Initialize(stream.Get(), WICDecodeMetadataCacheOnDemand))) return kErrDamaged;
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, frame.Put()))) return kErrDamaged;
    UINT w = 0, h = 0;
    if (FAILED(frame->GetSize(&w, &h)) || w == 0 || h == 0) return kErrDamaged;
    if (static_cast<unsigned long long>(w) * h > kMaxPixels) return kErrTooLarge;
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.Put())) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone,
                                     nullptr, 0, WICBitmapPaletteTypeCustom)))
        return kErrDamaged;
    // 32 bits: every decoder converts to it (24 bits is not offered from palette pictures).
    const UINT stride = w * 4;
    std::vector<BYTE> bgr;
    try {
        bgr.resize(static_cast<std::size_t>(stride) * h);
        out.Pixels.resize(static_cast<std::size_t>(w) * h * 3);
    } catch (const std::bad_alloc&) {
        return kErrNoMemory;
    }
    if (FAILED(converter->CopyPixels(nullptr, stride, static_cast<UINT>(bgr.size()), bgr.data())))
        return kErrDamaged;
    out.Width = static_cast<int>(w);
    out.Height = static_cast<int>(h);
    for (std::size_t i = 0, o = 0; i < bgr.size(); i += 4, o += 3) {
        out.Pixels[o] = bgr[i + 2];
        out.Pixels[o + 1] = bgr[i + 1];
        out.Pixels[o + 2] = bgr[i];
    }
    return 1;
}

std::vector<Rgb> PaletteColors(HPALETTE pal) {
    std::vector<Rgb> colors;
    if (pal == nullptr) return colors;
    const UINT n = GetPaletteEntries(pal, 0, 0, nullptr);
    std::vector<PALETTEENTRY> entries(n);
    GetPaletteEntries(pal, 0, n, entries.data());
    for (const PALETTEENTRY& e : entries) colors.push_back({e.peRed, e.peGreen, e.peBlue});
    return colors;
}

// A device-dependent bitmap (and its palette) of an indexed picture, through a DIB.
bool MakeIndexedBitmap(const IndexedImage& img, tk::TBitmap& out) {
    const int bits = img.BitsPerPixel <= 1 ? 1 : img.BitsPerPixel <= 4 ? 4 : 8;
    const int colors = 1 << bits;
    std::vector<unsigned char> info(sizeof(BITMAPINFOHEADER) + colors * sizeof(RGBQUAD));
    auto* bi = reinterpret_cast<BITMAPINFO*>(info.data());
    bi->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi->bmiHeader.biWidth = img.Width;
    bi->bmiHeader.biHeight = -img.Height;
    bi->bmiHeader.biPlanes = 1;
    bi->bmiHeader.biBitCount = static_cast<WORD>(bits);
    bi->bmiHeader.biCompression = BI_RGB;
    bi->bmiHeader.biClrUsed = static_cast<DWORD>(colors);
    for (std::size_t i = 0; i < img.Palette.size() && i < static_cast<std::size_t>(colors); ++i)
        bi->bmiColors[i] = RGBQUAD{img.Palette[i].B, img.Palette[i].G, img.Palette[i].R, 0};
    const std::size_t stride = ((static_cast<std::size_t>(img.Width) * bits + 31) / 32) * 4;
    std::vector<unsigned char> pixels(stride * img.Height, 0);
    for (int y = 0; y < img.Height; ++y) {
        unsigned char* row = &pixels[stride * y];
        for (int x = 0; x < img.Width; ++x) {
            const unsigned v = img.At(x, y);
            if (bits == 8)
                row[x] = static_cast<unsigned char>(v);
            else if (bits == 4)
                row[x / 2] |= static_cast<unsigned char>((v & 15) << ((x % 2 == 0) ? 4 : 0));
            else if (v != 0)
                row[x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
        }
    }
    std::vector<unsigned char> table(img.Palette.size() * 4);
    for (std::size_t i = 0; i < img.Palette.size(); ++i) {
        table[i * 4] = img.Palette[i].B;
        table[i * 4 + 1] = img.Palette[i].G;
        table[i * 4 + 2] = img.Palette[i].R;
    }
    HPALETTE pal = tk::PaletteFromColorTable(table.data(), static_cast<unsigned>(img.Palette.size()));
    tk::WindowDC screen(nullptr);
    tk::PaletteGuard guard(screen.Get(), pal);
    HBITMAP bmp = CreateDIBitmap(screen.Get(), &bi->bmiHeader, CBM_INIT, pixels.data(), bi, DIB_RGB_COLORS);
    if (bmp == nullptr) {
        if (pal != nullptr) DeleteObject(pal);
        return false;
    }
    out.SetHandles(bmp, pal);
    return true;
}

bool MakeTrueColorBitmap(const RgbImage& img, tk::TBitmap& out) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = img.Width;
    bi.bmiHeader.biHeight = -img.Height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    const std::size_t stride = ((static_cast<std::size_t>(img.Width) * 3 + 3) / 4) * 4;
    std::vector<unsigned char> pixels(stride * img.Height, 0);
    for (int y = 0; y < img.Height; ++y) {
        const unsigned char* src = &img.Pixels[static_cast<std::size_t>(y) * img.Width * 3];
        unsigned char* dst = &pixels[stride * y];
        for (int x = 0; x < img.Width; ++x) {
            dst[x * 3] = src[x * 3 + 2];
            dst[x * 3 + 1] = src[x * 3 + 1];
            dst[x * 3 + 2] = src[x * 3];
        }
    }
    tk::WindowDC screen(nullptr);
    HBITMAP bmp = CreateDIBitmap(screen.Get(), &bi.bmiHeader, CBM_INIT, pixels.data(), &bi, DIB_RGB_COLORS);
    if (bmp == nullptr) return false;
    out.SetHandles(bmp, nullptr);
    return true;
}

// The decoded picture at the requested depth, reduced to the default decoder palette where
// one is set.
int ToBitmap(const RgbImage& img, int bits, bool dither, tk::TBitmap& out) {
    if (bits == 0) bits = ResolutionBits(TLoadResolution::lAutoMatic, tk::TScreen::BitsPerPixel());
    if (bits >= 24) return MakeTrueColorBitmap(img, out) ? 1 : kErrNoMemory;
    const int depth = bits <= 1 ? 1 : bits <= 4 ? 4 : 8;
    IndexedImage indexed;
    const Dithering mode = dither ? Dithering::FloydSteinberg : Dithering::None;
    bool ok = false;
    if (depth == 1) {
        ok = ReduceToPalette(img, {{0, 0, 0}, {255, 255, 255}}, 8, mode, indexed);
        indexed.BitsPerPixel = 1;
    } else if (std::vector<Rgb> pal = PaletteColors(gDecoderPalette);
               !pal.empty() && pal.size() <= static_cast<std::size_t>(1) << depth) {
        ok = ReduceToPalette(img, pal, depth, mode, indexed);
    } else {
        ok = ReduceToOptimalPalette(img, depth, mode, indexed);
    }
    if (!ok) return kErrNoMemory;
    return MakeIndexedBitmap(indexed, out) ? 1 : kErrNoMemory;
}

std::string Upper(std::string s) {
    for (char& c : s) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7)) c = static_cast<char>(b - 32);
    }
    return s;
}

std::string BaseName(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace

int ResolutionBits(TLoadResolution res, int displayBits) {
    switch (res) {
        case TLoadResolution::lColorVga:
            return 0;
        case TLoadResolution::lMonoChrome:
            return 1;
        case TLoadResolution::lColor16:
            return 4;
        case TLoadResolution::lColor256:
            return 8;
        case TLoadResolution::lColorTrue:
            return 24;
        case TLoadResolution::lAutoMatic:
            break;
    }
    if (displayBits <= 4) return 4;
    if (displayBits < 16) return 8;
    return 24;
}

void SetDefaultDecoderPalette(HPALETTE pal) {
    gDecoderPalette = pal;
}
HPALETTE DefaultDecoderPalette() {
    return gDecoderPalette;
}
void SetImageMessageSink(ImageMessageSink sink) {
    gSink = std::move(sink);
}

std::string ImageErrorText(int code) {
    switch (code) {
        case kErrOpen:
            return "Het beeldbestand kan niet worden geopend.";
        case kErrUnknownFormat:
            return "Het beeldformaat van dit bestand is onbekend.";
        case kErrDamaged:
            return "Het beeldbestand is beschadigd of onvolledig.";
        case kErrTooLarge:
            return "Het beeld is te groot om te laden: het heeft meer dan 64 miljoen beeldpunten.";
        case kErrNoMemory:
            return "Er is niet genoeg geheugen om het beeld te laden.";
        case kErrNoDecoder:
            return "Dit beeldformaat kan op deze computer niet worden gelezen.";
        default:
            return "Het beeld kan niet worden geladen (fout " + std::to_string(code) + ").";
    }
}

TPMultiImage::TPMultiImage() = default;

void TPMultiImage::SetImageName(const std::string& path) {
    FPath = path;
    Load();
}

void ReleaseThreadDecoders() {
    if (tFactory.Factory != nullptr) tFactory.Factory->Release();
    if (tFactory.ComStarted) CoUninitialize();
    tFactory = {};
}

void TPMultiImage::Load() {
    const std::string& p = FPath;
    FFailed = false;
    // Marks the failure and says whether it is to be told now.
    auto tell = [&](const std::string& bytes) {
        FFailed = true;
        return !Quiet && FirstReport(p, bytes);
    };
    const std::string ext = UpperExtension(p);
    if (ext != ".RES" && !FileExists(p)) {
        Picture.Clear();
        FStatus = "file not found";
        return;
    }
    if (ext == ".WMF" || ext == ".ICO") {
        Picture.Clear();
        if (ext == ".ICO") {
            HICON icon = static_cast<HICON>(
                LoadImageW(nullptr, tk::Widen(p).c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
            if (icon != nullptr) Picture.AssignIcon(icon);
        }
        FStatus = "Non TIF, JPeg, BMP, GIF, PNG or PCX Image";
        return;
    }
    static const char* const kKnown[] = {".BMP", ".GIF", ".JPG", ".PCX", ".PNG", ".TIF", ".THB",
                                         ".THJ", ".RES", ".WMF", ".ICO", ".SCM", ".CMS"};
    const bool known = std::find(std::begin(kKnown), std::end(kKnown), ext) != std::end(kKnown);

    // A load started while this one shows a message (from that message's loop) is the one that
    // counts: this one then leaves the picture and status alone.
    const unsigned load = ++FLoads;
    std::string bytes;
    std::string format;
    if (ext != ".RES" && !ReadWholeFile(p, bytes)) {
        if (tell(bytes)) Say(MessageKind::Error, ImageErrorText(kErrOpen));
        if (load == FLoads) FStatus = Upper(p);
        return;
    }
    if (ext.empty() || ext == "." || !known) {
        format = SniffFormat(std::string_view(bytes).substr(0, 128));
        if (format.empty()) {
            // The format query failed: its message, and the picture keeps what it had.
            if (tell(bytes)) Say(MessageKind::Error, ImageErrorText(kErrUnknownFormat));
            if (load == FLoads) FStatus = Upper(p);
            return;
        }
    }

    enum class Kind { None, Bmp, Jpeg, Res, Png, Gif, Tif, Pcx } kind = Kind::None;
    if (ext == ".BMP" || format == "BMP" || ext == ".THB")
        kind = Kind::Bmp;
    else if (ext == ".THJ")
        kind = Kind::Jpeg;
    else if (ext == ".RES")
        kind = Kind::Res;
    else if (ext == ".PNG" || format == "PNG")
        kind = Kind::Png;
    else if (ext == ".GIF" || format == "GIF")
        kind = Kind::Gif;
    else if (ext == ".TIF" || format == "TIF")
        kind = Kind::Tif;
    else if (ext == ".PCX" || format == "PCX")
        kind = Kind::Pcx;
    else if (ext == ".JPG" || format == "JPEG")
        kind = Kind::Jpeg;

    if (kind != Kind::None) {
        Picture.Clear();
        tk::TBitmap bmp;
        int code = 1;
        static const char* const kFailures[] = {"",  // in the order of Kind
                                                "Reading bmp file failed",
                                                "Reading jpg file failed",
                                                "Reading resource file failed",
                                                "Reading png file failed",
                                                "Reading gif file failed",
                                                "Reading tif file failed",
                                                "Reading pcx file failed"};
        const char* const failure = kFailures[static_cast<int>(kind)];
        const int bits = ResolutionBits(ImageReadRes, tk::TScreen::BitsPerPixel());
        if (kind == Kind::Res) {
            code = LoadResourceBitmap("", BaseName(p), nullptr, bmp) ? 1 : kErrOpen;
        } else if (std::uint32_t w = 0, h = 0;
                   SniffPictureSize(bytes, w, h) && std::uint64_t{w} * h > kMaxPixels) {
            // Refused before the decoder tries to allocate for it (and fails as "damaged").
            code = kErrTooLarge;
        } else {
            RgbImage img;
            switch (kind) {
                case Kind::Bmp:
                    code = DecodeWic(bytes, GUID_ContainerFormatBmp, img);
                    break;
                case Kind::Jpeg:
                    code = DecodeWic(bytes, GUID_ContainerFormatJpeg, img);
                    break;
                case Kind::Png:
                    code = DecodeWic(bytes, GUID_ContainerFormatPng, img);
                    break;
                case Kind::Gif:
                    code = DecodeWic(bytes, GUID_ContainerFormatGif, img);
                    break;
                case Kind::Tif:
                    code = DecodeWic(bytes, GUID_ContainerFormatTiff, img);
                    break;
                case Kind::Pcx:
                    code = DecodePcx(bytes, img) ? 1 : kErrDamaged;
                    break;
                default:
                    break;
            }
            if (code >= 1) code = ToBitmap(img, bits, ImageDither, bmp);
        }
        if (code < 1 && tell(bytes)) {
            Say(MessageKind::Error, ImageErrorText(code));
            Say(MessageKind::Information, failure);
        }
        if (load != FLoads) return;
        Picture.Assign(std::move(bmp));
    }
    FStatus = Upper(p);
}

bool LoadResourceBitmap(const std::string& module, const std::string& name, HWND wnd, tk::TBitmap& target) {
    HMODULE mod = module.empty() ? GetModuleHandleW(nullptr) : GetModuleHandleW(tk::Widen(module).c_str());
    if (mod == nullptr) return false;
    std::wstring wname = tk::Widen(name);
    const wchar_t* id = wname.c_str();
    if (!name.empty() && std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; }))
        id = MAKEINTRESOURCEW(std::stoi(name));
    HRSRC res = FindResourceW(mod, id, MAKEINTRESOURCEW(2) /* RT_BITMAP */);
    if (res == nullptr) return false;
    HGLOBAL global = LoadResource(mod, res);
    const auto* data = global != nullptr ? static_cast<const unsigned char*>(LockResource(global)) : nullptr;
    const DWORD size = SizeofResource(mod, res);
    if (data == nullptr || size < sizeof(BITMAPINFOHEADER)) return false;
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(data);
    if (header->biSize < sizeof(BITMAPINFOHEADER) || header->biSize > size) return false;
    const unsigned colors = tk::ResourceColorCount(data, size);
    const std::size_t tableEnd = header->biSize + static_cast<std::size_t>(colors) * 4;
    if (tableEnd > size) return false;
    const long long w = header->biWidth,
                    h = header->biHeight < 0 ? -static_cast<long long>(header->biHeight) : header->biHeight;
    const long long stride = ((w * header->biBitCount + 31) / 32) * 4;
    if (w <= 0 || h <= 0 ||
        (header->biCompression == BI_RGB && static_cast<long long>(tableEnd) + stride * h > size))
        return false;

    HPALETTE pal = colors > 0 ? tk::PaletteFromColorTable(data + header->biSize, colors) : nullptr;
    tk::WindowDC dc(wnd);
    HBITMAP bmp = nullptr;
    {
        tk::PaletteGuard guard(dc.Get(), pal);
        bmp = CreateDIBitmap(dc.Get(), header, CBM_INIT, data + tableEnd,
                             reinterpret_cast<const BITMAPINFO*>(data), DIB_RGB_COLORS);
    }
    if (bmp == nullptr) {
        if (pal != nullptr) DeleteObject(pal);
        return false;
    }
    target.SetHandles(bmp, pal);
    return true;
}

}  // namespace slumra
