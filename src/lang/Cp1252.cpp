#include "lang/Cp1252.h"

namespace slumra {

namespace {

// 80..9F hex; the rest of the code page equals Latin-1.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

char32_t Cp1252ToCodePoint(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) return kHigh[byte - 0x80];
    return byte;
}

bool CodePointToCp1252(char32_t cp, unsigned char& byte) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        byte = static_cast<unsigned char>(cp);
        return true;
    }
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == cp) {
            byte = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}

std::u16string Cp1252ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (char c : text)
        out.push_back(static_cast<char16_t>(Cp1252ToCodePoint(static_cast<unsigned char>(c))));
    return out;
}

std::string Cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        char32_t cp = Cp1252ToCodePoint(static_cast<unsigned char>(c));
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

bool Utf16ToCp1252(std::u16string_view text, std::string& out, std::size_t* badOffset) {
    out.clear();
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned char byte = 0;
        if (!CodePointToCp1252(text[i], byte)) {
            if (badOffset != nullptr) *badOffset = i;
            return false;
        }
        out.push_back(static_cast<char>(byte));
    }
    return true;
}

bool Utf8ToCp1252(std::string_view text, std::string& out, std::size_t* badOffset) {
    out.clear();
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t start = i;
        auto lead = static_cast<unsigned char>(text[i++]);
        char32_t cp = 0;
        int more = 0;
        if (lead < 0x80) {
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            cp = lead & 0x1F;
            more = 1;
        } else if ((lead & 0xF0) == 0xE0) {
            cp = lead & 0x0F;
            more = 2;
        } else if ((lead & 0xF8) == 0xF0) {
            cp = lead & 0x07;
            more = 3;
        } else {
            more = -1;
        }
        bool ok = more >= 0;
        for (int k = 0; ok && k < more; ++k) {
            if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
        }
        unsigned char byte = 0;
        // Overlong forms and the C1 controls (which only stand for unassigned bytes) are refused.
        if (ok && more == 1 && cp < 0x80) ok = false;
        if (ok && cp >= 0x80 && cp < 0xA0) ok = false;
        if (!ok || !CodePointToCp1252(cp, byte)) {
            if (badOffset != nullptr) *badOffset = start;
            return false;
        }
        out.push_back(static_cast<char>(byte));
    }
    return true;
}

unsigned char Cp1252ToLower(unsigned char byte) {
    if (byte >= 'A' && byte <= 'Z') return static_cast<unsigned char>(byte + 32);
    if (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7) return static_cast<unsigned char>(byte + 32);
    switch (byte) {
        case 0x8A:
            return 0x9A;  // Š
        case 0x8C:
            return 0x9C;  // Œ
        case 0x8E:
            return 0x9E;  // Ž
        case 0x9F:
            return 0xFF;  // Ÿ
        default:
            return byte;
    }
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Cp1252ToLower(static_cast<unsigned char>(a[i])) !=
            Cp1252ToLower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

}  // namespace slumra
