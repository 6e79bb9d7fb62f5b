#include "toolkit/Palette.h"

#include "toolkit/Controls.h"

#include <vector>

namespace slumra::tk {

namespace {
HPALETTE gPal16 = nullptr;
HPALETTE gPal256 = nullptr;
HPALETTE gStatic = nullptr;
}  // namespace

unsigned ResourceColorCount(const unsigned char* data, unsigned size) {
    if (data == nullptr || size < 12) return 0;
    const unsigned header =
        data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<unsigned>(data[3]) << 24);
    if (header == 12) {
        const unsigned bits = data[10] | (data[11] << 8);
        return bits >= 24 || bits == 0 ? 0 : 1u << bits;
    }
    if (header < 40 || header > size) return 0;
    const unsigned bits = data[14] | (data[15] << 8);
    const unsigned used =
        data[32] | (data[33] << 8) | (data[34] << 16) | (static_cast<unsigned>(data[35]) << 24);
    if (used != 0) return used <= 256 ? used : 0;
    return bits >= 24 || bits == 0 ? 0 : 1u << bits;
}

HPALETTE PaletteFromColorTable(const unsigned char* table, unsigned count) {
    if (table == nullptr || count == 0 || count > 256) return nullptr;
    std::vector<unsigned char> buf(sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(buf.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = static_cast<WORD>(count);
    for (unsigned i = 0; i < count; ++i) {
        lp->palPalEntry[i].peRed = table[i * 4 + 2];
        lp->palPalEntry[i].peGreen = table[i * 4 + 1];
        lp->palPalEntry[i].peBlue = table[i * 4 + 0];
        lp->palPalEntry[i].peFlags = 0;
    }
    return CreatePalette(lp);
}

HPALETTE PaletteFromResource(HMODULE module, const wchar_t* name) {
    HRSRC res = FindResourceW(module, name, MAKEINTRESOURCEW(2) /* RT_BITMAP */);
    if (res == nullptr) return nullptr;
    HGLOBAL global = LoadResource(module, res);
    const auto* data = global != nullptr ? static_cast<const unsigned char*>(LockResource(global)) : nullptr;
    if (data == nullptr) return nullptr;
    const unsigned size = SizeofResource(module, res);
    const unsigned count = ResourceColorCount(data, size);
    const unsigned header =
        data[0] | (data[1] << 8) | (data[2] << 16) | (static_cast<unsigned>(data[3]) << 24);
    const unsigned entry = header == 12 ? 3 : 4;
    if (count == 0 || entry != 4 || header + count * entry > size) return nullptr;
    return PaletteFromColorTable(data + header, count);
}

void BuildPalettes(HMODULE module) {
    FreePalettes();
    gPal16 = PaletteFromResource(module, L"PAL16");
    gPal256 = PaletteFromResource(module, L"PAL256");
    if (gPal256 != nullptr && GetPaletteEntries(gPal256, 0, 0, nullptr) == 256) {
        PALETTEENTRY all[256];
        GetPaletteEntries(gPal256, 0, 256, all);
        unsigned char table[20 * 4];
        for (int i = 0; i < 20; ++i) {
            const PALETTEENTRY& e = all[i < 10 ? i : 236 + i];
            table[i * 4] = e.peBlue;
            table[i * 4 + 1] = e.peGreen;
            table[i * 4 + 2] = e.peRed;
            table[i * 4 + 3] = 0;
        }
        gStatic = PaletteFromColorTable(table, 20);
    }
}

HPALETTE StaticColorsPalette() {
    return gStatic;
}

HPALETTE ScreenPalette() {
    const int bits = TScreen::BitsPerPixel();
    if (bits <= 7) return gPal16;
    if (bits == 8) return gPal256;
    return nullptr;
}

void FreePalettes() {
    if (gPal16 != nullptr) DeleteObject(gPal16), gPal16 = nullptr;
    if (gPal256 != nullptr) DeleteObject(gPal256), gPal256 = nullptr;
    if (gStatic != nullptr) DeleteObject(gStatic), gStatic = nullptr;
}

}  // namespace slumra::tk
