#include "imaging/FormatSniff.h"

#include "data/Coding.h"

namespace slumra {

namespace {

bool StartsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

// A PCX file has no magic number beyond its first byte, 0A hex, which plain text often starts
// with too. The header is therefore checked field by field, as far as the bytes reach: version,
// encoding, bit depth, and then planes, window and line length.
bool LooksLikePcx(std::string_view bytes) {
    if (bytes.size() < 4) return false;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    if (p[0] != 0x0A) return false;
    if (p[1] != 0 && p[1] != 2 && p[1] != 3 && p[1] != 4 && p[1] != 5) return false;
    if (p[2] != 1) return false;
    const unsigned bits = p[3];
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8) return false;
    if (bytes.size() >= 12) {
        if (DecodeFixed16(p + 8) < DecodeFixed16(p + 4)) return false;
        if (DecodeFixed16(p + 10) < DecodeFixed16(p + 6)) return false;
    }
    if (bytes.size() >= 68) {
        const unsigned planes = p[65];
        if (planes < 1 || planes > 4) return false;
        if (DecodeFixed16(p + 66) == 0) return false;
    }
    return true;
}

}  // namespace

std::string SniffFormat(std::string_view firstBytes) {
    if (StartsWith(firstBytes, "BM")) return "BMP";
    if (StartsWith(firstBytes, "GIF87a") || StartsWith(firstBytes, "GIF89a")) return "GIF";
    if (StartsWith(firstBytes, "\xFF\xD8\xFF")) return "JPEG";
    if (StartsWith(firstBytes, "\x89PNG\r\n\x1A\n")) return "PNG";
    if (StartsWith(firstBytes, std::string_view("II*\0", 4)) ||
        StartsWith(firstBytes, std::string_view("MM\0*", 4)))
        return "TIF";
    if (LooksLikePcx(firstBytes)) return "PCX";
    return {};
}

std::string UpperExtension(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return {};
    std::string ext(name.substr(dot));
    for (char& c : ext) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return ext;
}

}  // namespace slumra
