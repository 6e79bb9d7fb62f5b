#include "widgets/Effects.h"

#include <memory>
#include <random>

namespace slumra {

void CopyBlocks(tk::TCanvas& dst, const tk::TCanvas& src, int w, int h, int size,
                const std::vector<Block>& order) {
    for (const Block& b : order) {
        const Rect r = BlockRect(b, w, h, size);
        BitBlt(dst.Handle(), r.Left, r.Top, r.Width(), r.Height(), src.Handle(), r.Left, r.Top, SRCCOPY);
    }
}

void RunEffect(tk::TCanvas& dst, const tk::TCanvas& src, int w, int h, EffectStyle style, int size, int speed,
               const RandomSource& random) {
    if (w <= 0 || h <= 0) return;
    const RandomSource source = random ? random : FreshRandom();
    CopyBlocks(dst, src, w, h, size, EffectBlocks(style, GridFor(w, h, size), speed, source));
    BitBlt(dst.Handle(), 0, 0, w, h, src.Handle(), 0, 0, SRCCOPY);
}

RandomSource FreshRandom() {
    auto generator = std::make_shared<std::mt19937>(std::random_device{}());
    return [generator](unsigned bound) {
        return std::uniform_int_distribution<unsigned>(0, bound - 1)(*generator);
    };
}

}  // namespace slumra
