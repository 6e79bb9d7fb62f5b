// Helpers for the art tool tests: the generated files (made once per test run), little-endian
// readers, and small decoders for BMP headers, RIFF chunks and JPEG pictures.
#pragma once

#include "Art.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <jpeglib.h>
#include <map>
#include <string>
#include <vector>

namespace slumra::art::test {

namespace detail {

using Files = std::map<std::string, std::string>;

inline Files Make() {
    Files m;
    for (auto& f : MakeArt(2))
        m[(f.folder == ArtFile::Folder::Program ? "program/" : "res/") + f.path] = std::move(f.bytes);
    return m;
}

// GoogleTest runs each test in a process of its own; painting everything takes seconds, so the
// first process leaves the files in a cache named after this test program's build, and the
// others read them. Entries: key length (4), key, size (8), bytes. A bad cache is ignored.
inline std::filesystem::path CachePath() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return {};
    const auto stamp = std::filesystem::last_write_time(exe, ec).time_since_epoch().count();
    const auto size = std::filesystem::file_size(exe, ec);
    if (ec) return {};
    return std::filesystem::temp_directory_path(ec) /
           ("slumra-art-tests-" + std::to_string(size) + "-" + std::to_string(stamp));
}

inline bool ReadCache(const std::filesystem::path& path, Files& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::size_t at = 0;
    auto take = [&](std::size_t n, std::string& into) {
        if (all.size() - at < n) return false;
        into = all.substr(at, n);
        at += n;
        return true;
    };
    std::string field, key, bytes;
    while (at < all.size()) {
        if (!take(4, field)) return false;
        std::uint32_t keyLength = 0;
        std::memcpy(&keyLength, field.data(), 4);
        if (!take(keyLength, key) || !take(8, field)) return false;
        std::uint64_t size = 0;
        std::memcpy(&size, field.data(), 8);
        if (!take(size, bytes)) return false;
        out[key] = bytes;
    }
    return !out.empty();
}

inline void WriteCache(const std::filesystem::path& path, const Files& files) {
    const std::filesystem::path temp = path.string() + "." + std::to_string(::getpid());
    {
        std::ofstream out(temp, std::ios::binary);
        for (const auto& [key, bytes] : files) {
            const auto keyLength = static_cast<std::uint32_t>(key.size());
            const auto size = static_cast<std::uint64_t>(bytes.size());
            out.write(reinterpret_cast<const char*>(&keyLength), 4).write(key.data(), keyLength);
            out.write(reinterpret_cast<const char*>(&size), 8)
                .write(bytes.data(), static_cast<std::streamsize>(size));
        }
        if (!out) return;
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);  // atomic: a reader sees all of it or nothing
    if (ec) std::filesystem::remove(temp, ec);
    // Caches of earlier builds are of no further use.
    const std::string own = path.filename().string();
    for (const auto& entry : std::filesystem::directory_iterator(path.parent_path(), ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("slumra-art-tests-", 0) == 0 && name.rfind(own, 0) != 0)
            std::filesystem::remove(entry.path(), ec);
    }
}

}  // namespace detail

// Everything the tool makes, keyed by "program/<path>" or "res/<path>".
inline const std::map<std::string, std::string>& Generated() {
    static const detail::Files files = [] {
        detail::Files m;
        const auto cache = detail::CachePath();
        if (!cache.empty() && detail::ReadCache(cache, m)) return m;
        m = detail::Make();
        if (!cache.empty()) detail::WriteCache(cache, m);
        return m;
    }();
    return files;
}

inline std::uint32_t U16(const std::string& b, std::size_t at) {
    return static_cast<unsigned char>(b.at(at)) | (static_cast<unsigned char>(b.at(at + 1)) << 8);
}
inline std::uint32_t U32(const std::string& b, std::size_t at) {
    return U16(b, at) | (U16(b, at + 2) << 16);
}
inline std::int32_t I32(const std::string& b, std::size_t at) {
    return static_cast<std::int32_t>(U32(b, at));
}
inline std::string Tag(const std::string& b, std::size_t at) {
    return b.substr(at, 4);
}

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

// The parts of a .bmp the program relies on.
struct Bmp {
    std::uint32_t fileSize, offset, headerSize, clrUsed, sizeImage, compression;
    std::int32_t width, height;
    int bitCount;
    std::vector<Rgb> table;
};

inline Bmp ReadBmp(const std::string& b) {
    Bmp m{};
    m.fileSize = U32(b, 2);
    m.offset = U32(b, 10);
    m.headerSize = U32(b, 14);
    m.width = I32(b, 18);
    m.height = I32(b, 22);
    m.bitCount = static_cast<int>(U16(b, 28));
    m.compression = U32(b, 30);
    m.sizeImage = U32(b, 34);
    m.clrUsed = U32(b, 46);
    for (std::uint32_t i = 0; i < m.clrUsed; ++i) {
        const std::size_t at = 54 + 4 * i;
        m.table.push_back({static_cast<unsigned char>(b.at(at + 2)), static_cast<unsigned char>(b.at(at + 1)),
                           static_cast<unsigned char>(b.at(at))});
    }
    return m;
}

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;                      // top-down
    double Luma(int x0, int y0, int x1, int y1) const {  // mean over [x0,x1) x [y0,y1), 0..1
        double sum = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                const unsigned char* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
                sum += 0.2126 * p[0] + 0.7152 * p[1] + 0.0722 * p[2];
            }
        return sum / 255.0 / ((x1 - x0) * (y1 - y0));
    }
};

inline void NoExit(j_common_ptr info) {
    // A test must not end the process: report and go on with what was decoded.
    char message[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, message);
    std::fprintf(stderr, "jpeg: %s\n", message);
}

// Decodes a JPEG with libjpeg; width 0 when the bytes are not one.
inline Picture DecodeJpeg(const std::string& bytes) {
    Picture p;
    if (bytes.size() < 4 || static_cast<unsigned char>(bytes[0]) != 0xFF ||
        static_cast<unsigned char>(bytes[1]) != 0xD8)
        return p;
    jpeg_decompress_struct info{};
    jpeg_error_mgr err{};
    info.err = jpeg_std_error(&err);
    err.output_message = NoExit;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    p.width = static_cast<int>(info.output_width);
    p.height = static_cast<int>(info.output_height);
    p.rgb.resize(static_cast<std::size_t>(p.width) * p.height * 3);
    while (info.output_scanline < info.output_height) {
        unsigned char* row = &p.rgb[static_cast<std::size_t>(info.output_scanline) * p.width * 3];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return p;
}

// A 24-bit bottom-up BMP as a top-down picture.
inline Picture DecodeBmp24(const std::string& b) {
    const Bmp m = ReadBmp(b);
    Picture p;
    p.width = m.width;
    p.height = m.height;
    const std::size_t stride = (static_cast<std::size_t>(m.width) * 3 + 3) / 4 * 4;
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x) {
            const std::size_t at = m.offset + stride * (m.height - 1 - y) + 3 * x;
            p.rgb.push_back(static_cast<unsigned char>(b.at(at + 2)));
            p.rgb.push_back(static_cast<unsigned char>(b.at(at + 1)));
            p.rgb.push_back(static_cast<unsigned char>(b.at(at)));
        }
    return p;
}

// One RIFF chunk: its id (or list type for LIST/RIFF), where its body starts and its size.
struct Chunk {
    std::string id;
    std::size_t body, size;
};

// The chunks inside [from, to), or an empty list with ok = false when a size runs past `to`.
inline std::vector<Chunk> Chunks(const std::string& b, std::size_t from, std::size_t to, bool& ok) {
    std::vector<Chunk> out;
    ok = true;
    while (from + 8 <= to) {
        const std::string id = Tag(b, from);
        const std::size_t size = U32(b, from + 4);
        if (from + 8 + size > to) {
            ok = false;
            return {};
        }
        out.push_back({id == "LIST" ? "LIST:" + Tag(b, from + 8) : id, from + 8, size});
        from += 8 + size + (size & 1);
    }
    ok = ok && from == to;
    return out;
}

}  // namespace slumra::art::test
