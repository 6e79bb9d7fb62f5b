#include "Encoders.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <jpeglib.h>

namespace slumra::art {

/*
 * BITMAPINFOHEADER, 40 bytes, little-endian:
 *   0 biSize (40)   4 biWidth   8 biHeight (> 0: bottom-up)   12 biPlanes (1)   14 biBitCount
 *  16 biCompression (0 = BI_RGB)   20 biSizeImage   24/28 pixels per metre   32 biClrUsed
 *  36 biClrImportant (0 = all)
 */
std::string InfoHeader(int width, int height, int bitCount, std::uint32_t colours, std::uint32_t imageSize) {
    std::string h;
    Put32(h, 40);
    Put32(h, static_cast<std::uint32_t>(width));
    Put32(h, static_cast<std::uint32_t>(height));
    Put16(h, 1);
    Put16(h, static_cast<std::uint32_t>(bitCount));
    Put32(h, 0);
    Put32(h, imageSize);
    Put32(h, 2835);  // 72 dpi
    Put32(h, 2835);
    Put32(h, colours);
    Put32(h, 0);
    return h;
}

std::string ColourTable(const Palette& palette) {
    std::string t;
    for (const Rgb8& c : palette) {
        t.push_back(static_cast<char>(c.b));
        t.push_back(static_cast<char>(c.g));
        t.push_back(static_cast<char>(c.r));
        t.push_back(0);
    }
    return t;
}

namespace {

std::size_t Stride(int width, int bitCount) {
    return ((static_cast<std::size_t>(width) * bitCount + 31) / 32) * 4;
}

/*
 * BITMAPFILEHEADER, 14 bytes: "BM", file size (4), two reserved words, offset of the rows (4).
 */
std::string FileHeader(std::size_t fileSize, std::size_t rowsOffset) {
    std::string h = "BM";
    Put32(h, static_cast<std::uint32_t>(fileSize));
    Put32(h, 0);
    Put32(h, static_cast<std::uint32_t>(rowsOffset));
    return h;
}

}  // namespace

std::string DibRows(int width, int height, int bitCount, const std::vector<std::uint8_t>& indices) {
    const std::size_t stride = Stride(width, bitCount);
    std::string rows(stride * height, '\0');
    for (int y = 0; y < height; ++y) {
        char* row = rows.data() + stride * (height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const std::uint8_t v = indices[static_cast<std::size_t>(y) * width + x];
            if (bitCount == 8) {
                row[x] = static_cast<char>(v);
            } else {  // 4 bits, high nibble first
                auto& byte = reinterpret_cast<unsigned char&>(row[x / 2]);
                byte = static_cast<unsigned char>(byte | ((x % 2 == 0) ? (v & 15) << 4 : (v & 15)));
            }
        }
    }
    return rows;
}

std::string EncodeBmpIndexed(int width, int height, int bitCount, const Palette& palette,
                             const std::vector<std::uint8_t>& indices) {
    const std::string rows = DibRows(width, height, bitCount, indices);
    const std::string table = ColourTable(palette);
    const std::size_t offset = 14 + 40 + table.size();
    return FileHeader(offset + rows.size(), offset) +
           InfoHeader(width, height, bitCount, static_cast<std::uint32_t>(palette.size()),
                      static_cast<std::uint32_t>(rows.size())) +
           table + rows;
}

std::string EncodeBmp24(int width, int height, const std::vector<Rgb8>& pixels) {
    const std::size_t stride = Stride(width, 24);
    std::string rows(stride * height, '\0');
    for (int y = 0; y < height; ++y) {
        char* row = rows.data() + stride * (height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const Rgb8& c = pixels[static_cast<std::size_t>(y) * width + x];
            row[3 * x] = static_cast<char>(c.b);
            row[3 * x + 1] = static_cast<char>(c.g);
            row[3 * x + 2] = static_cast<char>(c.r);
        }
    }
    const std::size_t offset = 14 + 40;
    return FileHeader(offset + rows.size(), offset) +
           InfoHeader(width, height, 24, 0, static_cast<std::uint32_t>(rows.size())) + rows;
}

namespace {

// libjpeg's error_exit must not return. Encoding pictures we made ourselves fails only when
// memory runs out or the code is wrong; the tool cannot go on either way.
[[noreturn]] void JpegFail(j_common_ptr info) {
    char message[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, message);
    std::fprintf(stderr, "slumra-art: JPEG encoder: %s\n", message);
    std::exit(1);
}

}  // namespace

std::string EncodeJpeg(int width, int height, const std::vector<Rgb8>& pixels, int quality) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    err.error_exit = JpegFail;
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.dct_method = JDCT_ISLOW;  // the exact integer transform: same bytes on every machine
    cinfo.optimize_coding = TRUE;
    for (int i = 0; i < cinfo.num_components; ++i) {
        cinfo.comp_info[i].h_samp_factor = 1;
        cinfo.comp_info[i].v_samp_factor = 1;
    }
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        const Rgb8* src = &pixels[static_cast<std::size_t>(cinfo.next_scanline) * width];
        for (int x = 0; x < width; ++x) {
            row[3 * x] = src[x].r;
            row[3 * x + 1] = src[x].g;
            row[3 * x + 2] = src[x].b;
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::string out(reinterpret_cast<const char*>(buffer), size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return out;
}

/*
 * AVI layout (RIFF, little-endian sizes that exclude the 8-byte chunk header):
 *   RIFF 'AVI '
 *     LIST 'hdrl'
 *       'avih' (56): µs per frame, max bytes/s, padding, flags (0x10 = has index), total frames,
 *                    initial frames, streams, suggested buffer, width, height, 4 reserved
 *       LIST 'strl'
 *         'strh' (56): 'vids', handler 'DIB ', flags, priority+language, initial frames,
 *                      scale, rate (rate/scale = frames per second), start, length (frames),
 *                      suggested buffer, quality (-1), sample size, frame rect (4 x 16 bits)
 *         'strf': BITMAPINFOHEADER followed by the 256-entry palette
 *     LIST 'movi'  '00db' chunks, one per frame: bottom-up rows padded to 4 bytes
 *     'idx1': per frame '00db', flags (0x10 = key frame), offset of the chunk header counted
 *             from the 'movi' type field, chunk size
 * The animation control counts every chunk in 'movi' as a frame, so nothing else goes there.
 */
std::string EncodeAvi(int width, int height, int framesPerSecond, const Palette& palette,
                      const std::vector<std::vector<std::uint8_t>>& frames) {
    const auto frameCount = static_cast<std::uint32_t>(frames.size());
    const auto frameSize = static_cast<std::uint32_t>(Stride(width, 8) * height);

    std::string avih;
    Put32(avih, static_cast<std::uint32_t>(1000000 / framesPerSecond));
    Put32(avih, frameSize * static_cast<std::uint32_t>(framesPerSecond));
    Put32(avih, 0);
    Put32(avih, 0x10);
    Put32(avih, frameCount);
    Put32(avih, 0);
    Put32(avih, 1);
    Put32(avih, frameSize);
    Put32(avih, static_cast<std::uint32_t>(width));
    Put32(avih, static_cast<std::uint32_t>(height));
    for (int i = 0; i < 4; ++i) Put32(avih, 0);

    std::string strh;
    PutTag(strh, "vids");
    PutTag(strh, "DIB ");
    Put32(strh, 0);
    Put32(strh, 0);
    Put32(strh, 0);
    Put32(strh, 1);
    Put32(strh, static_cast<std::uint32_t>(framesPerSecond));
    Put32(strh, 0);
    Put32(strh, frameCount);
    Put32(strh, frameSize);
    Put32(strh, 0xffffffffu);
    Put32(strh, 0);
    Put16(strh, 0);
    Put16(strh, 0);
    Put16(strh, static_cast<std::uint32_t>(width));
    Put16(strh, static_cast<std::uint32_t>(height));

    const std::string strf =
        InfoHeader(width, height, 8, static_cast<std::uint32_t>(palette.size()), frameSize) +
        ColourTable(palette);

    auto chunk = [](const char(&tag)[5], const std::string& body) {
        std::string c;
        PutTag(c, tag);
        Put32(c, static_cast<std::uint32_t>(body.size()));
        c += body;
        if (c.size() % 2) c.push_back(0);
        return c;
    };
    auto list = [](const char(&type)[5], const std::string& body) {
        std::string c = "LIST";
        Put32(c, static_cast<std::uint32_t>(body.size() + 4));
        PutTag(c, type);
        return c + body;
    };

    std::string movi, idx1;
    for (const auto& frame : frames) {
        PutTag(idx1, "00db");
        Put32(idx1, 0x10);
        Put32(idx1, static_cast<std::uint32_t>(4 + movi.size()));
        Put32(idx1, frameSize);
        movi += chunk("00db", DibRows(width, height, 8, frame));
    }

    const std::string hdrl =
        list("hdrl", chunk("avih", avih) + list("strl", chunk("strh", strh) + chunk("strf", strf)));
    const std::string body = "AVI " + hdrl + list("movi", movi) + chunk("idx1", idx1);
    std::string riff = "RIFF";
    Put32(riff, static_cast<std::uint32_t>(body.size()));
    return riff + body;
}

/*
 * WAVE: 'RIFF' size 'WAVE', 'fmt ' (16): format 1 (PCM), channels, sample rate, bytes per second,
 * block align, bits per sample (16); 'data' size, samples little-endian interleaved.
 */
std::string EncodeWav(int sampleRate, int channels, const std::vector<std::int16_t>& samples) {
    std::string out = "RIFF";
    const auto dataSize = static_cast<std::uint32_t>(samples.size() * 2);
    Put32(out, 36 + dataSize);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, static_cast<std::uint32_t>(channels));
    Put32(out, static_cast<std::uint32_t>(sampleRate));
    Put32(out, static_cast<std::uint32_t>(sampleRate * channels * 2));
    Put16(out, static_cast<std::uint32_t>(channels * 2));
    Put16(out, 16);
    PutTag(out, "data");
    Put32(out, dataSize);
    for (std::int16_t s : samples) Put16(out, static_cast<std::uint16_t>(s));
    return out;
}

/*
 * Icon and cursor files: ICONDIR (reserved 0, type 1 = icon or 2 = cursor, image count), one
 * 16-byte entry per image (width, height, 0 meaning 256; colour count 0; reserved; for icons
 * planes 1 and bits per pixel 32, for cursors the hotspot x and y; size of the image; its
 * offset), then the images: BITMAPINFOHEADER with twice the height (colour rows, then the mask
 * rows), 32-bit BGRA rows bottom-up, and a 1-bit AND mask (1 = transparent) bottom-up, rows
 * padded to 4 bytes.
 */
namespace {

std::string IconImageBytes(const IconImage& img) {
    const int n = img.size;
    const std::size_t maskStride = Stride(n, 1);
    std::string pixels, mask(maskStride * n, '\0');
    for (int y = n - 1, row = 0; y >= 0; --y, ++row) {
        for (int x = 0; x < n; ++x) {
            const std::uint32_t p = img.argb[static_cast<std::size_t>(y) * n + x];
            Put32(pixels, p);  // 0xAARRGGBB little-endian is B, G, R, A
            if ((p >> 24) < 128) {
                auto& byte = reinterpret_cast<unsigned char&>(mask[maskStride * row + x / 8]);
                byte = static_cast<unsigned char>(byte | (0x80 >> (x % 8)));
            }
        }
    }
    return InfoHeader(n, n * 2, 32, 0, static_cast<std::uint32_t>(pixels.size() + mask.size())) + pixels +
           mask;
}

std::string IconDirectory(int type, const std::vector<IconImage>& images, int hotX, int hotY) {
    std::string head, body;
    Put16(head, 0);
    Put16(head, static_cast<std::uint32_t>(type));
    Put16(head, static_cast<std::uint32_t>(images.size()));
    std::size_t offset = 6 + 16 * images.size();
    for (const IconImage& img : images) {
        const std::string bytes = IconImageBytes(img);
        head.push_back(static_cast<char>(img.size >= 256 ? 0 : img.size));
        head.push_back(static_cast<char>(img.size >= 256 ? 0 : img.size));
        head.push_back(0);
        head.push_back(0);
        Put16(head, type == 2 ? static_cast<std::uint32_t>(hotX) : 1);
        Put16(head, type == 2 ? static_cast<std::uint32_t>(hotY) : 32);
        Put32(head, static_cast<std::uint32_t>(bytes.size()));
        Put32(head, static_cast<std::uint32_t>(offset));
        offset += bytes.size();
        body += bytes;
    }
    return head + body;
}

}  // namespace

std::string EncodeCursor(const std::vector<std::uint32_t>& argb, int hotX, int hotY) {
    return IconDirectory(2, {{32, argb}}, hotX, hotY);
}

std::string EncodeIcon(const std::vector<IconImage>& images) {
    return IconDirectory(1, images, 0, 0);
}

}  // namespace slumra::art
