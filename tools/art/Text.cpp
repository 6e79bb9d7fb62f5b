#include "Text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <mutex>
#include <vector>

namespace slumra::art {

namespace {

const char* FontFile(Face face) {
    switch (face) {
        case Face::SansBold:
            return "/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf";
        case Face::Comic:
            return "/usr/share/fonts/opentype/comic-neue/ComicNeue-Regular.otf";
        case Face::ComicBold:
            return "/usr/share/fonts/opentype/comic-neue/ComicNeue-Bold.otf";
        case Face::Sans:
            break;
    }
    return "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";
}

std::vector<char32_t> Decode(const std::string& s) {
    std::vector<char32_t> out;
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
        char32_t cp = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < s.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
        out.push_back(cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

// A glyph's coverage and where it sits relative to the pen, in whole pixels.
struct Glyph {
    int left, top, width, height;
    float advance;
    std::vector<float> cover;
};

// FreeType's library object is not for several threads at once; text is rare, one lock will do.
std::mutex& Lock() {
    static std::mutex m;
    return m;
}

bool Shape(Face face, float size, const std::string& utf8, std::vector<Glyph>& glyphs) {
    std::lock_guard<std::mutex> guard(Lock());
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) return false;
    FT_Face f = nullptr;
    bool ok = FT_New_Face(lib, FontFile(face), 0, &f) == 0 &&
              FT_Set_Char_Size(f, 0, static_cast<FT_F26Dot6>(size * 64), 72, 72) == 0;
    for (char32_t cp : ok ? Decode(utf8) : std::vector<char32_t>{}) {
        if (FT_Load_Char(f, cp, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0) continue;
        const FT_GlyphSlot g = f->glyph;
        Glyph out{g->bitmap_left, g->bitmap_top, static_cast<int>(g->bitmap.width),
                  static_cast<int>(g->bitmap.rows), static_cast<float>(g->advance.x) / 64.0f, {}};
        for (int y = 0; y < out.height; ++y)
            for (int x = 0; x < out.width; ++x)
                out.cover.push_back(static_cast<float>(g->bitmap.buffer[y * g->bitmap.pitch + x]) / 255.0f);
        glyphs.push_back(std::move(out));
    }
    if (f != nullptr) FT_Done_Face(f);
    FT_Done_FreeType(lib);
    return ok;
}

}  // namespace

float TextWidth(Face face, float size, const std::string& utf8) {
    std::vector<Glyph> glyphs;
    Shape(face, size, utf8, glyphs);
    float w = 0;
    for (const Glyph& g : glyphs) w += std::round(g.advance);
    return w;
}

bool DrawText(Image& img, Face face, float size, float cx, float baseline, const std::string& utf8, Rgb ink,
              float halo) {
    std::vector<Glyph> glyphs;
    if (!Shape(face, size, utf8, glyphs)) return false;
    float width = 0;
    for (const Glyph& g : glyphs) width += std::round(g.advance);
    // Coverage of the whole line first, so that the halo of one letter never darkens the next.
    const int pad = 3;
    const int x0 = static_cast<int>(std::round(cx - width / 2)) - pad;
    const int y0 = static_cast<int>(std::round(baseline - size)) - pad;
    const int w = static_cast<int>(width) + 2 * pad, h = static_cast<int>(size * 1.4f) + 2 * pad;
    std::vector<float> cover(static_cast<std::size_t>(w) * h, 0.0f);
    float pen = static_cast<float>(pad);
    const int base = static_cast<int>(std::round(baseline)) - y0;
    for (const Glyph& g : glyphs) {
        for (int y = 0; y < g.height; ++y)
            for (int x = 0; x < g.width; ++x) {
                const int px = static_cast<int>(pen) + g.left + x, py = base - g.top + y;
                if (px < 0 || py < 0 || px >= w || py >= h) continue;
                float& c = cover[static_cast<std::size_t>(py) * w + px];
                c = std::min(1.0f, c + g.cover[static_cast<std::size_t>(y) * g.width + x]);
            }
        pen += std::round(g.advance);
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (!img.Inside(x0 + x, y0 + y)) continue;
            // The halo: the coverage spread over a small disc, darkening what lies under it.
            float spread = 0;
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx) {
                    const int sx = x + dx, sy = y + dy;
                    if (sx < 0 || sy < 0 || sx >= w || sy >= h || dx * dx + dy * dy > 5) continue;
                    spread = std::max(spread, cover[static_cast<std::size_t>(sy) * w + sx] *
                                                  (1.0f - 0.18f * static_cast<float>(dx * dx + dy * dy)));
                }
            Rgb& p = img.At(x0 + x, y0 + y);
            p = p * (1.0f - halo * spread);
            p = Over(p, ink, cover[static_cast<std::size_t>(y) * w + x]);
        }
    return true;
}

}  // namespace slumra::art
