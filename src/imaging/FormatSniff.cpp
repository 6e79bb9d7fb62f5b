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

std::uint32_t Big16(const unsigned char* p) { return static_cast<std::uint32_t>(p[0] << 8 | p[1]); }
std::uint32_t Big32(const unsigned char* p) { return Big16(p) << 16 | Big16(p + 2); }

// The frame header (SOF0..SOF15, not DHT C4, JPG C8 or DAC CC) of a JPEG, found by walking the
// marker segments from the start: FF xx, then a big-endian length that counts itself.
bool JpegSize(const unsigned char* p, std::size_t size, std::uint32_t& width, std::uint32_t& height) {
    std::size_t at = 2;
    while (at + 4 <= size) {
        if (p[at] != 0xFF) return false;
        const unsigned marker = p[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {  // no length
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) return false;  // end of image, scan data
        const std::size_t length = Big16(p + at + 2);
        if (length < 2) return false;
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            if (at + 9 > size || length < 7) return false;
            height = Big16(p + at + 5);
            width = Big16(p + at + 7);
            return true;
        }
        at += 2 + length;
    }
    return false;
}

// ImageWidth (256) and ImageLength (257) of the first directory of a TIFF.
bool TiffSize(const unsigned char* p, std::size_t size, std::uint32_t& width, std::uint32_t& height) {
    const bool big = p[0] == 'M';
    auto u16 = [&](std::size_t at) { return big ? Big16(p + at) : std::uint32_t{DecodeFixed16(p + at)}; };
    auto u32 = [&](std::size_t at) { return big ? Big32(p + at) : DecodeFixed32(p + at); };
    if (size < 8) return false;
    const std::uint64_t dir = u32(4);
    if (dir + 2 > size) return false;
    const std::uint32_t entries = u16(static_cast<std::size_t>(dir));
    bool haveWidth = false, haveHeight = false;
    for (std::uint32_t i = 0; i < entries; ++i) {
        const std::uint64_t e = dir + 2 + std::uint64_t{i} * 12;
        if (e + 12 > size) break;
        const auto at = static_cast<std::size_t>(e);
        const std::uint32_t tag = u16(at), type = u16(at + 2);
        if (tag != 256 && tag != 257) continue;
        std::uint32_t value = 0;
        if (type == 3)
            value = u16(at + 8);
        else if (type == 4)
            value = u32(at + 8);
        else
            return false;
        (tag == 256 ? width : height) = value;
        (tag == 256 ? haveWidth : haveHeight) = true;
    }
    return haveWidth && haveHeight;
}

}  // namespace

bool SniffPictureSize(std::string_view bytes, std::uint32_t& width, std::uint32_t& height) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    const std::string format = SniffFormat(bytes.substr(0, 128));
    if (format == "PNG") {
        if (size < 24 || bytes.substr(12, 4) != "IHDR") return false;
        width = Big32(p + 16);
        height = Big32(p + 20);
        return true;
    }
    if (format == "GIF") {
        if (size < 10) return false;
        width = DecodeFixed16(p + 6);
        height = DecodeFixed16(p + 8);
        return true;
    }
    if (format == "BMP") {
        if (size < 18) return false;
        const std::uint32_t header = DecodeFixed32(p + 14);
        if (header == 12 && size >= 22) {
            width = DecodeFixed16(p + 18);
            height = DecodeFixed16(p + 20);
            return true;
        }
        if (header < 40 || size < 26) return false;
        const auto w = static_cast<std::int32_t>(DecodeFixed32(p + 18));
        const auto h = static_cast<std::int32_t>(DecodeFixed32(p + 22));
        if (w < 0) return false;
        // A negative height marks rows stored top-down.
        width = static_cast<std::uint32_t>(w);
        height = h < 0 ? 0u - static_cast<std::uint32_t>(h) : static_cast<std::uint32_t>(h);
        return true;
    }
    if (format == "JPEG") return JpegSize(p, size, width, height);
    if (format == "TIF") return TiffSize(p, size, width, height);
    if (format == "PCX") {
        if (size < 12) return false;
        width = DecodeFixed16(p + 8) - DecodeFixed16(p + 4) + 1u;
        height = DecodeFixed16(p + 10) - DecodeFixed16(p + 6) + 1u;
        return true;
    }
    return false;
}

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
