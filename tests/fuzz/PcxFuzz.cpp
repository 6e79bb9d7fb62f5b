// libFuzzer target for the PCX decoder: any bytes must give a consistent picture or a failure,
// never a read out of bounds, a crash or an allocation the data cannot justify.
#include "imaging/FormatSniff.h"
#include "imaging/Pcx.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace slumra;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)SniffFormat(bytes.substr(0, 128));

    std::string error;
    RgbImage rgb;
    PcxDecodeInfo info;
    if (DecodePcx(bytes, rgb, &error, &info)) {
        if (!rgb.IsValid() || info.CompleteLines < 0 || info.CompleteLines > rgb.Height) std::abort();
        if (std::int64_t{rgb.Width} * rgb.Height > kMaxPcxPixels) std::abort();
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
