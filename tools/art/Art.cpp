#include "Art.h"

#include "Cursors.h"
#include "Encoders.h"
#include "Palettes.h"
#include "Quantize.h"
#include "Scenes.h"
#include "Sound.h"

#include <atomic>
#include <fstream>
#include <functional>
#include <thread>

namespace slumra::art {

namespace {

constexpr int kJpegQuality = 90;
constexpr int kClipFrames = 36;
constexpr int kClipFps = 12;
constexpr int kSoundRate = 22050;
constexpr int kSoundSeconds = 32;

using Job = std::function<std::vector<ArtFile>()>;

ArtFile Program(std::string path, std::string bytes) {
    return {ArtFile::Folder::Program, std::move(path), std::move(bytes)};
}
ArtFile Resource(std::string path, std::string bytes) {
    return {ArtFile::Folder::Resources, std::move(path), std::move(bytes)};
}

std::uint64_t StateFor(const std::string& path) {
    std::uint64_t h = 1469598103934665603ULL;  // FNV-1a: each file dithers on its own
    for (char c : path) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    return h;
}

std::string Jpeg(const Image& img, const std::string& path) {
    return EncodeJpeg(img.Width(), img.Height(), ToRgb8(img, StateFor(path)), kJpegQuality);
}

Palette Pal256() {
    Palette p;
    for (const auto& e : palettes::kPal256) p.push_back({e.r, e.g, e.b});
    return p;
}

// A picture in 8 bits twice: with its own median-cut palette, and for 256-colour displays with
// PAL256's table but dithered to its twenty static colours (0..9 and 246..255) only. Those are
// on the screen whatever happens to the palette (a window in the background, or a display
// that never realizes more, as Wine's on an 8-bit X screen); an entry of the spread in their
// place would fall to the nearest static colour there, and a night sky to black.
std::vector<ArtFile> Emblem(const std::string& name, const Image& img) {
    const Palette own = MedianCut(ToRgb8Exact(img), 256);
    const Palette fixed = Pal256();
    Palette statics(fixed.begin(), fixed.begin() + 10);
    statics.insert(statics.end(), fixed.end() - 10, fixed.end());
    std::vector<std::uint8_t> indices = Dither(img, statics);
    for (std::uint8_t& i : indices) i = static_cast<std::uint8_t>(i < 10 ? i : i + 236);
    return {Resource(name + ".bmp", EncodeBmpIndexed(img.Width(), img.Height(), 8, own, Dither(img, own))),
            Resource(name + "256.bmp", EncodeBmpIndexed(img.Width(), img.Height(), 8, fixed, indices))};
}

std::string LogoClip(int size) {
    std::vector<Image> frames;
    std::vector<Rgb8> all;
    for (int f = 0; f < kClipFrames; ++f) {
        frames.push_back(PaintLogoFrame(size, f, kClipFrames));
        const auto px = ToRgb8Exact(frames.back());
        all.insert(all.end(), px.begin(), px.end());
    }
    // One palette for the whole clip, black first; no error diffusion, which would make the
    // dots crawl from frame to frame.
    const Palette palette = MedianCut(all, 256, {{0, 0, 0}});
    std::vector<std::vector<std::uint8_t>> indices;
    for (const Image& frame : frames) indices.push_back(Dither(frame, palette, 0.0f));
    return EncodeAvi(size, size, kClipFps, palette, indices);
}

std::vector<Job> Jobs() {
    std::vector<Job> jobs;
    // The backgrounds first: they take longest.
    for (int n = 1; n <= 10; ++n) {
        jobs.push_back([n] {
            std::vector<Size> sizes;
            for (const Design& d : kDesigns) sizes.push_back({d.width, d.height});
            const auto images = PaintBackground(n, sizes);
            std::vector<ArtFile> out;
            for (std::size_t i = 0; i < images.size(); ++i) {
                const std::string path = std::string("I/B/") + kDesigns[i].name + "/" + std::to_string(n);
                out.push_back(Program(path, Jpeg(images[i], path)));
            }
            return out;
        });
    }
    for (const Design& d : kDesigns) {
        jobs.push_back([d] {
            const std::string suffix = d.name;
            const float scale = static_cast<float>(d.width) / 640.0f;
            // The sizes of the panels in each design.
            const int strip[3][2] = {{1707, 75}, {2134, 94}, {2731, 120}};
            const int highlight[3][2] = {{195, 95}, {244, 119}, {312, 152}};
            const int record[3][2] = {{396, 355}, {495, 444}, {634, 568}};
            const int diary[3][2] = {{600, 390}, {750, 488}, {960, 624}};
            const int i = d.width == 640 ? 0 : d.width == 800 ? 1 : 2;
            std::vector<ArtFile> out;
            auto add = [&](const std::string& path, const Image& img) {
                out.push_back(Program(path, Jpeg(img, path)));
            };
            add("I/B/dd" + suffix, PaintDiaryPanel(diary[i][0], diary[i][1]));
            add("I/B/mb" + suffix, PaintMenuStrip(strip[i][0], strip[i][1]));
            add("I/B/ms" + suffix, PaintMenuHighlight(highlight[i][0], highlight[i][1]));
            add("I/B/cddb" + suffix, PaintRecordPanel(record[i][0], record[i][1], scale));
            // The dialogs at their sizes in this design: the name and message dialogs (abs) and
            // the diary dialog (abd), both framed, the small ones on a lighter ground.
            const int small[3][2] = {{312, 113}, {390, 141}, {499, 181}};
            const int dialog[3][2] = {{392, 223}, {490, 279}, {627, 357}};
            const Image abs = PaintDialogSkin(small[i][0], small[i][1], 40, 1.0f);
            const Image abd = PaintDialogSkin(dialog[i][0], dialog[i][1], 40, 0.0f);
            // The message dialog for long texts: 50 more at the smallest design.
            const int tallBy[3] = {50, 63, 80};
            const Image abt = PaintDialogSkin(small[i][0], small[i][1] + tallBy[i], 40, 1.0f);
            out.push_back(Program("I/B/abt" + suffix, EncodeBmp24(abt.Width(), abt.Height(),
                                                                  ToRgb8(abt, StateFor("I/B/abt" + suffix)))));
            out.push_back(Program("I/B/abs" + suffix, EncodeBmp24(abs.Width(), abs.Height(),
                                                                  ToRgb8(abs, StateFor("I/B/abs" + suffix)))));
            out.push_back(Program("I/B/abd" + suffix, EncodeBmp24(abd.Width(), abd.Height(),
                                                                  ToRgb8(abd, StateFor("I/B/abd" + suffix)))));
            const int clip = i == 0 ? 45 : i == 1 ? 56 : 72;
            out.push_back(Program("V/ov" + suffix, LogoClip(clip)));
            return out;
        });
    }
    jobs.push_back([] {
        const Image overlay = PaintOverlayPanel(448, 405);
        const Image tile = PaintDialogTile(320);
        return std::vector<ArtFile>{
            Program("I/B/s", Jpeg(overlay, "I/B/s")),
            Program("I/B/abk", EncodeBmp24(tile.Width(), tile.Height(), ToRgb8(tile, StateFor("I/B/abk"))))};
    });
    jobs.push_back([] {
        return std::vector<ArtFile>{
            Program("a/somnar.wav", EncodeWav(kSoundRate, 2, AmbientPad(kSoundRate, kSoundSeconds)))};
    });
    jobs.push_back([] { return Emblem("Intro", PaintIntro(282)); });
    jobs.push_back([] { return Emblem("About", PaintAbout(325)); });
    jobs.push_back([] {
        Palette pal16;
        for (const auto& e : palettes::kPal16) pal16.push_back({e.r, e.g, e.b});
        std::vector<std::uint8_t> ramp16(16), ramp256(256);
        for (int i = 0; i < 256; ++i) ramp256[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
        for (int i = 0; i < 16; ++i) ramp16[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
        const CursorArt point = PaintHand(true), fist = PaintHand(false);
        std::vector<IconImage> icon;
        for (int size : {16, 24, 32, 48, 64, 256}) icon.push_back({size, PaintIcon(size)});
        return std::vector<ArtFile>{
            Resource("PAL16.bmp", EncodeBmpIndexed(16, 1, 4, pal16, ramp16)),
            Resource("PAL256.bmp", EncodeBmpIndexed(16, 16, 8, Pal256(), ramp256)),
            Resource("HandCursor.cur", EncodeCursor(point.argb, point.hotX, point.hotY)),
            Resource("HandNoFingersCursor.cur", EncodeCursor(fist.argb, fist.hotX, fist.hotY)),
            Resource("slumra.ico", EncodeIcon(icon)),
        };
    });
    return jobs;
}

}  // namespace

std::vector<ArtFile> MakeArt(int threads) {
    const std::vector<Job> jobs = Jobs();
    std::vector<std::vector<ArtFile>> results(jobs.size());
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i = next++; i < jobs.size(); i = next++) results[i] = jobs[i]();
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t) pool.emplace_back(work);
    work();
    for (std::thread& t : pool) t.join();
    std::vector<ArtFile> files;
    for (auto& r : results)
        for (auto& f : r) files.push_back(std::move(f));
    return files;
}

bool WriteArt(const std::vector<ArtFile>& files, const std::filesystem::path& program,
              const std::filesystem::path& resources, std::string& error) {
    for (const ArtFile& f : files) {
        const std::filesystem::path path =
            (f.folder == ArtFile::Folder::Program ? program : resources) / f.path;
        std::error_code ec;
        std::filesystem::create_directories(path.parent_path(), ec);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(f.bytes.data(), static_cast<std::streamsize>(f.bytes.size()));
        out.close();
        if (!out) {
            error = path.string() + ": cannot write";
            return false;
        }
    }
    return true;
}

}  // namespace slumra::art
