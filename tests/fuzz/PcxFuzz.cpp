// libFuzzer target for the PCX decoder and format sniffing: any bytes must give a consistent picture or a
// failure, never a read out of bounds, a crash or an allocation the data cannot justify.
#include "imaging/FormatSniff.h"
#include "imaging/Pcx.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace slumra;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // The format depends on the first 128 bytes only, and the size read from a header is the
    // size a successful decode gives.
    const std::string format = SniffFormat(bytes.substr(0, 128));
    if (SniffFormat(bytes) != format) std::abort();
    std::uint32_t width = 0, height = 0;
    const bool sized = SniffPictureSize(bytes, width, height);
    if (sized && format.empty()) std::abort();
    const std::string extension = UpperExtension(bytes);
    if (!extension.empty() && (extension[0] != '.' ||
                               extension.find_first_of("\\/abcdefghijklmnopqrstuvwxyz") != std::string::npos))
        std::abort();

    std::string error;
    RgbImage rgb;
    PcxDecodeInfo info;
    if (DecodePcx(bytes, rgb, &error, &info)) {
        if (!rgb.IsValid() || info.CompleteLines < 0 || info.CompleteLines > rgb.Height) std::abort();
        if (std::int64_t{rgb.Width} * rgb.Height > kMaxPcxPixels) std::abort();
        if (format == "PCX" &&
            (!sized || width != std::uint32_t(rgb.Width) || height != std::uint32_t(rgb.Height)))
            std::abort();
    } else if (!rgb.Pixels.empty() || error.empty()) {
        std::abort();
    }

    IndexedImage indexed;
    if (DecodePcxIndexed(bytes, indexed)) {
        if (!indexed.IsValid() || indexed.Palette.size() > (std::size_t{1} << indexed.BitsPerPixel))
            std::abort();
        for (std::uint8_t index : indexed.Indices) {
            if (index >= indexed.Palette.size()) std::abort();
        }
    }
    return 0;
}
