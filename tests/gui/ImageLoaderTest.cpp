#include "GuiTest.h"
#include "../Scratch.h"
#include "../core/TestUtil.h"

#include "app/StartupLoad.h"
#include "data/Index.h"
#include "data/Synonyms.h"

#include "data/Coding.h"
#include "data/Files.h"
#include "imaging/TMultiP.h"
#include "toolkit/Palette.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <wincodec.h>

#include <filesystem>

namespace slumra {
namespace {

using namespace std::string_literals;

struct Message {
    MessageKind kind;
    std::string text;
};

// A 40 × 30 picture: red left half, blue right half.
std::uint32_t TwoHalves(int x, int) {
    return x < 20 ? 0xFF0000 : 0x0000FF;
}

// Encodes the two-halves picture with the WIC encoder of `container`.
std::string Encode(const GUID& container) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IWICImagingFactory* f = nullptr;
    EXPECT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IWICImagingFactory, reinterpret_cast<void**>(&f))));
    IStream* mem = nullptr;
    CreateStreamOnHGlobal(nullptr, TRUE, &mem);
    IWICBitmapEncoder* enc = nullptr;
    f->CreateEncoder(container, nullptr, &enc);
    enc->Initialize(mem, WICBitmapEncoderNoCache);
    IWICBitmapFrameEncode* frame = nullptr;
    enc->CreateNewFrame(&frame, nullptr);
    frame->Initialize(nullptr);
    frame->SetSize(40, 30);
    const bool indexed = container == GUID_ContainerFormatGif;  // GIF takes palette pictures only
    WICPixelFormatGUID fmt = indexed ? GUID_WICPixelFormat8bppIndexed : GUID_WICPixelFormat24bppBGR;
    frame->SetPixelFormat(&fmt);
    if (indexed) {
        IWICPalette* pal = nullptr;
        f->CreatePalette(&pal);
        WICColor colors[2] = {0xFFFF0000, 0xFF0000FF};
        pal->InitializeCustom(colors, 2);
        frame->SetPalette(pal);
        pal->Release();
        std::vector<BYTE> idx(40 * 30);
        for (int i = 0; i < 40 * 30; ++i) idx[i] = (i % 40) < 20 ? 0 : 1;
        frame->WritePixels(30, 40, static_cast<UINT>(idx.size()), idx.data());
    }
    std::vector<BYTE> px(40 * 30 * 3);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const std::uint32_t c = TwoHalves(x, y);
            px[(y * 40 + x) * 3] = c & 0xFF;
            px[(y * 40 + x) * 3 + 1] = (c >> 8) & 0xFF;
            px[(y * 40 + x) * 3 + 2] = (c >> 16) & 0xFF;
        }
    if (fmt == GUID_WICPixelFormat24bppBGR)
        frame->WritePixels(30, 120, static_cast<UINT>(px.size()), px.data());
    frame->Commit();
    enc->Commit();
    STATSTG st{};
    mem->Stat(&st, STATFLAG_NONAME);
    std::string out(static_cast<std::size_t>(st.cbSize.QuadPart), '\0');
    LARGE_INTEGER zero{};
    mem->Seek(zero, STREAM_SEEK_SET, nullptr);
    ULONG read = 0;
    mem->Read(out.data(), static_cast<ULONG>(out.size()), &read);
    frame->Release();
    enc->Release();
    mem->Release();
    f->Release();
    return out;
}

// A 4 × 2 PCX, 8 bits, one plane, with its VGA palette: index 1 red, 2 blue.
std::string TinyPcx() {
    std::string h(128, '\0');
    h[0] = 0x0A, h[1] = 5, h[2] = 1, h[3] = 8;
    h[8] = 3, h[10] = 1;   // Xmax 3, Ymax 1
    h[65] = 1, h[66] = 4;  // one plane, 4 bytes a line
    std::string rows = "\x01\x01\x02\x02\x01\x01\x02\x02";
    std::string pal(769, '\0');
    pal[0] = 0x0C;
    pal[1 + 3] = static_cast<char>(0xFF);      // 1: red
    pal[1 + 6 + 2] = static_cast<char>(0xFF);  // 2: blue
    return h + rows + pal;
}

class ImageLoader : public testing::Test {
protected:
    void SetUp() override {
        dir_ = test::ScratchPath("slumra-images");
        std::filesystem::create_directories(dir_);
        SetImageMessageSink([this](MessageKind k, const std::string& t) { messages_.push_back({k, t}); });
        SetDefaultDecoderPalette(nullptr);
    }
    void TearDown() override {
        SetImageMessageSink({});
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = (dir_ / name).string();
        FileSink sink(path);
        EXPECT_EQ(sink.Write(bytes.data(), bytes.size()), bytes.size());
        EXPECT_TRUE(sink.Close());
        return path;
    }
    // The colour the loaded picture shows at (x, y), 0x00RRGGBB.
    static std::uint32_t PixelOf(const tk::TPicture& pic, int x, int y) {
        const COLORREF c = GetPixel(pic.Bitmap()->DC(), x, y);
        return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
    std::filesystem::path dir_;
    std::vector<Message> messages_;
    TPMultiImage loader_;
};

TEST_F(ImageLoader, EveryFormatWithAndWithoutExtension) {
    struct Case {
        const GUID* container;
        const char* ext;
    } cases[] = {{&GUID_ContainerFormatBmp, ".bmp"},
                 {&GUID_ContainerFormatPng, ".png"},
                 {&GUID_ContainerFormatJpeg, ".jpg"},
                 {&GUID_ContainerFormatTiff, ".tif"},
                 {&GUID_ContainerFormatGif, ".gif"}};
    loader_.ImageReadRes = TLoadResolution::lColorTrue;
    loader_.ImageDither = false;
    for (const Case& c : cases) {
        const std::string bytes = Encode(*c.container);
        ASSERT_GT(bytes.size(), 20u) << c.ext;
        for (const Message& m : messages_) ADD_FAILURE() << m.text;
        for (const std::string& name : {std::string("pic") + c.ext, std::string("skin")}) {
            const std::string path = Write(name, bytes);
            loader_.SetImageName(path);
            SCOPED_TRACE(name + " " + c.ext);
            for (const Message& m : messages_) ADD_FAILURE() << m.text;
            ASSERT_FALSE(loader_.Picture.Empty());
            EXPECT_EQ(loader_.Picture.Width(), 40);
            EXPECT_EQ(loader_.Picture.Height(), 30);
            const std::uint32_t left = PixelOf(loader_.Picture, 5, 15),
                                right = PixelOf(loader_.Picture, 35, 15);
            EXPECT_GT((left >> 16) & 0xFF, 200u);
            EXPECT_GT(right & 0xFF, 200u);
            EXPECT_TRUE(messages_.empty());
        }
    }
}

TEST_F(ImageLoader, PcxByExtensionAndByContent) {
    for (const char* name : {"tiny.pcx", "tinyskin"}) {
        loader_.SetImageName(Write(name, TinyPcx()));
        ASSERT_FALSE(loader_.Picture.Empty()) << name;
        EXPECT_EQ(loader_.Picture.Width(), 4);
        EXPECT_EQ(PixelOf(loader_.Picture, 0, 0) & 0xFF0000, 0xFF0000u);
        EXPECT_EQ(PixelOf(loader_.Picture, 3, 1) & 0xFF, 0xFFu);
    }
}

TEST_F(ImageLoader, MissingFileEmptiesWithoutAMessage) {
    loader_.SetImageName(Write("a.png", Encode(GUID_ContainerFormatPng)));
    ASSERT_FALSE(loader_.Picture.Empty());
    loader_.SetImageName((dir_ / "nothing.png").string());
    EXPECT_TRUE(loader_.Picture.Empty());
    EXPECT_EQ(loader_.ImageName(), "file not found");
    loader_.SetImageName("");
    EXPECT_TRUE(loader_.Picture.Empty());
    EXPECT_TRUE(messages_.empty());
}

TEST_F(ImageLoader, UndecodableFileSaysSoTwiceAndGivesAnEmptyPicture) {
    loader_.SetImageName(Write("broken.jpg", "\xFF\xD8\xFF\xE0 not really a jpeg"));
    EXPECT_TRUE(loader_.Picture.Empty());
    ASSERT_EQ(messages_.size(), 2u);
    EXPECT_EQ(messages_[0].kind, MessageKind::Error);
    EXPECT_EQ(messages_[1].text, "Reading jpg file failed");
    // The status is the path, upper-cased.
    const std::string status = loader_.ImageName();
    EXPECT_EQ(status.substr(status.size() - 10), "BROKEN.JPG");
}

TEST_F(ImageLoader, FailureIsToldOnceEvenWhenTheMessageLoopLoadsAgain) {
    // A window that repaints while the message box is up loads a picture again, from inside
    // the message; that load stays silent, and every later load of a file already told about
    // (for as long as the program runs: the names are this test's own).
    const std::string broken = Write("told.jpg", "\xFF\xD8\xFF\xE0 told once");
    const std::string other = Write("told.gif", "GIF89a and nothing");
    SetImageMessageSink([&](MessageKind k, const std::string& t) {
        messages_.push_back({k, t});
        loader_.SetImageName(other);
    });
    for (int i = 0; i < 3; ++i) loader_.SetImageName(broken);
    EXPECT_EQ(messages_.size(), 2u);
    EXPECT_TRUE(loader_.Picture.Empty());
    // The file whose load was silenced is told about when it is loaded on its own.
    loader_.SetImageName(other);
    loader_.SetImageName(other);
    ASSERT_EQ(messages_.size(), 4u);
    EXPECT_EQ(messages_[3].text, "Reading gif file failed");
    // The same file changed is told about again.
    loader_.SetImageName(Write("told.jpg", "\xFF\xD8\xFF\xE0 told again"));
    EXPECT_EQ(messages_.size(), 6u);
}

TEST_F(ImageLoader, TooLargePictureIsRefusedBeforeDecodingWithItsOwnMessage) {
    // Headers of 20000 x 20000 pixels with nothing behind them: refused as too large, not
    // reported as damaged, by extension and by content.
    std::string png = "\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\x4E\x20\0\0\x4E\x20\x08\x02\0\0\0"s;
    png += std::string(64, '\0');
    std::string pcx = TinyPcx();
    pcx[8] = 0x1F, pcx[9] = 0x4E, pcx[10] = 0x1F, pcx[11] = 0x4E;  // 0..19999
    std::string jpeg = "\xFF\xD8\xFF\xE0\0\x04" "ab\xFF\xC0\0\x11\x08\x4E\x20\x4E\x20\x03"s + std::string(64, '\0');
    const std::vector<std::pair<std::string, std::string>> files = {
        {"big.png", png}, {"bigpng", png}, {"big.pcx", pcx}, {"big.jpg", jpeg}};
    for (const auto& [name, bytes] : files) {
        messages_.clear();
        loader_.SetImageName(Write(name, bytes));
        EXPECT_TRUE(loader_.Picture.Empty()) << name;
        ASSERT_EQ(messages_.size(), 2u) << name;
        EXPECT_EQ(messages_[0].text, ImageErrorText(-3)) << name;
        EXPECT_EQ(messages_[1].text.rfind("Reading ", 0), 0u) << name;
    }
    EXPECT_NE(ImageErrorText(-3), ImageErrorText(-2));
}

TEST_F(ImageLoader, UnknownContentKeepsThePreviousPicture) {
    loader_.SetImageName(Write("a.png", Encode(GUID_ContainerFormatPng)));
    loader_.SetImageName(Write("noextension", "just some text, no picture"));
    EXPECT_FALSE(loader_.Picture.Empty());
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].kind, MessageKind::Error);
}

TEST_F(ImageLoader, IconsAndMetafilesAreNotDecoded) {
    loader_.SetImageName(Write("x.wmf", "whatever"));
    EXPECT_EQ(loader_.ImageName(), "Non TIF, JPeg, BMP, GIF, PNG or PCX Image");
    EXPECT_TRUE(loader_.Picture.Empty());
}

TEST_F(ImageLoader, PaletteDepthsReduceToTheDefaultPalette) {
    // A four-colour default palette: black, white, pure red, pure blue.
    unsigned char table[16] = {0, 0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 0, 255, 0, 0, 0};
    HPALETTE pal = tk::PaletteFromColorTable(table, 4);
    SetDefaultDecoderPalette(pal);
    loader_.ImageReadRes = TLoadResolution::lColor256;
    loader_.ImageDither = false;
    loader_.SetImageName(Write("p.png", Encode(GUID_ContainerFormatPng)));
    ASSERT_FALSE(loader_.Picture.Empty());
    ASSERT_NE(loader_.Picture.Bitmap()->Palette(), nullptr);
    EXPECT_EQ(GetPaletteEntries(loader_.Picture.Bitmap()->Palette(), 0, 0, nullptr), 4u);
    EXPECT_EQ(PixelOf(loader_.Picture, 5, 5), 0xFF0000u);
    EXPECT_EQ(PixelOf(loader_.Picture, 35, 5), 0x0000FFu);
    SetDefaultDecoderPalette(nullptr);
    DeleteObject(pal);
}

TEST(ImageResolution, BitsByDisplay) {
    EXPECT_EQ(ResolutionBits(TLoadResolution::lAutoMatic, 4), 4);
    EXPECT_EQ(ResolutionBits(TLoadResolution::lAutoMatic, 8), 8);
    EXPECT_EQ(ResolutionBits(TLoadResolution::lAutoMatic, 15), 8);
    EXPECT_EQ(ResolutionBits(TLoadResolution::lAutoMatic, 16), 24);
    EXPECT_EQ(ResolutionBits(TLoadResolution::lColor16, 32), 4);
}

// The start-up's second thread reads what the window would read itself: the same records,
// synonyms and sorted index, the skins decoded, and a damaged skin left to the window, untold.
TEST_F(ImageLoader, TheStartUpReadsAheadWhatTheWindowWouldRead) {
    const std::string folder = dir_.string() + "\\";
    std::filesystem::create_directories(dir_ / "I" / "B" / "6x4");
    std::filesystem::create_directories(dir_ / "D");
    const std::vector<std::string> skins = MainSkinNames(0);
    ASSERT_EQ(skins.size(), 4u);
    Write(skins[0], Encode(GUID_ContainerFormatJpeg));
    Write(skins[1], "BM this is no picture at all");
    // skins[2] is missing: the window shows no skin there
    Write(skins[3], TinyPcx());
    Write("D\\iDbRecs.dat", test::DbBytes({{1, "Dieren", "Over dieren."},
                                          {2, "Dieren|Huisdieren", "Over huisdieren."},
                                          {3, "Dieren|Huisdieren|Kat", "Een kat."},
                                          {4, "Dieren|Huisdieren|Hond", "Een hond."}}));
    Write("D\\Syn.dat", "|hond|honden|\r\n|kat|katten|\r\n");

    TStartupLoad::Start(folder, 0, 24);
    TStartupLoad::Start(folder, 1, 24);  // once per process
    std::unique_ptr<TStartupLoad> load = TStartupLoad::TakeSkins(folder, 0);
    ASSERT_TRUE(load);
    EXPECT_FALSE(TStartupLoad::TakeSkins(folder, 0));
    load->WaitForData(nullptr);

    ASSERT_EQ(load->Skins.size(), 4u);
    EXPECT_TRUE(load->Skins[0].Usable);
    EXPECT_EQ(load->Skins[0].Picture.Width(), 40);
    EXPECT_FALSE(load->Skins[1].Usable);
    EXPECT_TRUE(load->Skins[2].Usable);
    EXPECT_TRUE(load->Skins[2].Picture.Empty());
    EXPECT_TRUE(load->Skins[3].Usable);
    EXPECT_EQ(load->Skins[3].Picture.Width(), 4);
    EXPECT_TRUE(messages_.empty());

    TiDbRecFile records;
    ASSERT_TRUE(records.LoadFromFile(folder + "D\\iDbRecs.dat"));
    std::vector<std::string> outline, index;
    BuildIndexLists(records, outline, index);
    SortIndex(index, 0, static_cast<int>(index.size()) - 1);
    ASSERT_TRUE(load->Records);
    EXPECT_EQ(load->Index.OutlineStrings(), outline);
    EXPECT_EQ(load->Index.IndexStrings(), index);
    ASSERT_TRUE(load->Synonyms);
    EXPECT_EQ(*load->Synonyms, LoadSynonymList(folder + "D\\Syn.dat"));
}

}  // namespace
}  // namespace slumra
