// The generated files as the program finds them: every one present at its size, decodable,
// dark where light text stands, and the same bytes on every run.

#include "ArtTestUtil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace slumra::art::test {
namespace {

struct Expected {
    std::string key;
    int width, height;
};

std::vector<Expected> Pictures() {
    std::vector<Expected> e = {{"program/I/B/s", 448, 405}};
    const char* designs[3] = {"6x4", "8x6", "10x7"};
    const int screen[3][2] = {{640, 480}, {800, 600}, {1024, 768}};
    const int diary[3][2] = {{600, 390}, {750, 488}, {960, 624}};
    const int strip[3][2] = {{1707, 75}, {2134, 94}, {2731, 120}};
    const int oval[3][2] = {{195, 95}, {244, 119}, {312, 152}};
    const int record[3][2] = {{396, 355}, {495, 444}, {634, 568}};
    for (int d = 0; d < 3; ++d) {
        const std::string n = designs[d];
        e.push_back({"program/I/B/dd" + n, diary[d][0], diary[d][1]});
        e.push_back({"program/I/B/mb" + n, strip[d][0], strip[d][1]});
        e.push_back({"program/I/B/ms" + n, oval[d][0], oval[d][1]});
        e.push_back({"program/I/B/cddb" + n, record[d][0], record[d][1]});
        for (int i = 1; i <= 10; ++i)
            e.push_back({"program/I/B/" + n + "/" + std::to_string(i), screen[d][0], screen[d][1]});
    }
    return e;
}

// The framed dialog skins: the name and message dialogs (abs), the message dialog for long
// texts (abt) and the diary dialog (abd).
std::vector<Expected> DialogSkins() {
    return {{"program/I/B/abs6x4", 312, 113},  {"program/I/B/abs8x6", 390, 141},
            {"program/I/B/abs10x7", 499, 181}, {"program/I/B/abt6x4", 312, 163},
            {"program/I/B/abt8x6", 390, 204},  {"program/I/B/abt10x7", 499, 261},
            {"program/I/B/abd6x4", 392, 223},  {"program/I/B/abd8x6", 490, 279},
            {"program/I/B/abd10x7", 627, 357}};
}

TEST(ArtFiles, ExactlyTheProgramsFilesInOneUpperCaseTree) {
    std::set<std::string> expected;
    for (const auto& p : Pictures()) expected.insert(p.key);
    for (const auto& d : DialogSkins()) expected.insert(d.key);
    for (const char* k :
         {"program/I/B/abk", "program/a/somnar.wav", "program/V/ov6x4", "program/V/ov8x6", "program/V/ov10x7",
          "res/PAL16.bmp", "res/PAL256.bmp", "res/Intro.bmp", "res/Intro256.bmp", "res/About.bmp",
          "res/About256.bmp", "res/HandCursor.cur", "res/HandNoFingersCursor.cur", "res/slumra.ico"})
        expected.insert(k);
    std::set<std::string> made;
    for (const auto& [key, bytes] : Generated()) {
        made.insert(key);
        EXPECT_FALSE(bytes.empty()) << key;
        // Windows sees I and i as one folder; a Linux disk must not hold both.
        EXPECT_NE(key.rfind("program/i/", 0), 0u) << key;
    }
    EXPECT_EQ(made, expected);
}

TEST(ArtFiles, EverySkinAndBackgroundDecodesAtItsSize) {
    for (const Expected& e : Pictures()) {
        const Picture p = DecodeJpeg(Generated().at(e.key));
        EXPECT_EQ(p.width, e.width) << e.key;
        EXPECT_EQ(p.height, e.height) << e.key;
    }
}

// #E0E4E2 has a luma of about 0.89; text areas below these levels keep it easy to read.
TEST(ArtFiles, TextAreasStayDark) {
    const char* designs[3] = {"6x4", "8x6", "10x7"};
    const double scales[3] = {1.0, 1.25, 1.6};
    for (int d = 0; d < 3; ++d) {
        const std::string n = designs[d];
        const double s = scales[d];
        auto px = [s](double v) { return static_cast<int>(v * s); };
        const Picture record = DecodeJpeg(Generated().at("program/I/B/cddb" + n));
        EXPECT_LT(record.Luma(px(80), px(70), px(320), px(230)), 0.08) << n;  // the interpretation text
        const Picture oval = DecodeJpeg(Generated().at("program/I/B/ms" + n));
        EXPECT_LT(oval.Luma(px(40), px(30), px(155), px(65)), 0.25) << n;  // the two buttons
        const Picture strip = DecodeJpeg(Generated().at("program/I/B/mb" + n));
        EXPECT_LT(strip.Luma(0, 0, strip.width, strip.height), 0.15) << n;
        const Picture diary = DecodeJpeg(Generated().at("program/I/B/dd" + n));
        EXPECT_LT(diary.Luma(0, 0, diary.width, diary.height), 0.15) << n;
        for (int i = 1; i <= 10; ++i) {
            const Picture bg = DecodeJpeg(Generated().at("program/I/B/" + n + "/" + std::to_string(i)));
            EXPECT_LT(bg.Luma(0, 0, bg.width, px(25)), 0.12) << n << "/" << i << ": title row";
            EXPECT_LT(bg.Luma(px(25), px(80), px(245), px(352)), 0.3) << n << "/" << i << ": list";
            // Not just on average: no moon, star or glow under the list's caption or rows.
            double brightest = 0;
            for (int y = px(55); y + 3 <= px(352); y += 3)
                for (int x = px(25); x + 3 <= px(245); x += 3)
                    brightest = std::max(brightest, bg.Luma(x, y, x + 3, y + 3));
            EXPECT_LT(brightest, 0.36) << n << "/" << i << ": brightest spot under the list";
        }
    }
    const Picture overlay = DecodeJpeg(Generated().at("program/I/B/s"));
    EXPECT_LT(overlay.Luma(0, 0, overlay.width, overlay.height), 0.12);
}

TEST(ArtFiles, TheThreeDesignsShowTheSameScene) {
    // A background is one picture at three sizes, not three pictures: compare coarse cells.
    for (int i = 1; i <= 10; ++i) {
        const Picture small = DecodeJpeg(Generated().at("program/I/B/6x4/" + std::to_string(i)));
        const Picture large = DecodeJpeg(Generated().at("program/I/B/10x7/" + std::to_string(i)));
        double worst = 0;
        for (int cy = 0; cy < 4; ++cy)
            for (int cx = 0; cx < 4; ++cx) {
                const double a = small.Luma(cx * 160, cy * 120, (cx + 1) * 160, (cy + 1) * 120);
                const double b = large.Luma(cx * 256, cy * 192, (cx + 1) * 256, (cy + 1) * 192);
                worst = std::max(worst, std::fabs(a - b));
            }
        EXPECT_LT(worst, 0.03) << i;
    }
}

TEST(ArtFiles, DialogTileHasNoSeam) {
    const Picture tile = DecodeBmp24(Generated().at("program/I/B/abk"));
    ASSERT_GE(tile.width, 64);
    ASSERT_EQ(tile.width, tile.height);
    auto columnStep = [&](int a, int b) {
        double sum = 0;
        for (int y = 0; y < tile.height; ++y)
            for (int c = 0; c < 3; ++c)
                sum += std::abs(tile.rgb[(static_cast<std::size_t>(y) * tile.width + a) * 3 + c] -
                                tile.rgb[(static_cast<std::size_t>(y) * tile.width + b) * 3 + c]);
        return sum / tile.height;
    };
    auto rowStep = [&](int a, int b) {
        double sum = 0;
        for (int x = 0; x < tile.width; ++x)
            for (int c = 0; c < 3; ++c)
                sum += std::abs(tile.rgb[(static_cast<std::size_t>(a) * tile.width + x) * 3 + c] -
                                tile.rgb[(static_cast<std::size_t>(b) * tile.width + x) * 3 + c]);
        return sum / tile.width;
    };
    double inside = 0;
    for (int x = 0; x + 1 < tile.width; ++x)
        inside = std::max(inside, std::max(columnStep(x, x + 1), rowStep(x, x + 1)));
    EXPECT_LE(columnStep(tile.width - 1, 0), inside);
    EXPECT_LE(rowStep(tile.height - 1, 0), inside);
}

// A dialog over another dialog must show where it ends: a light rim just inside its rounded
// outline, clearly above the ground it frames.
TEST(ArtFiles, DialogSkinsAreFramedAtTheirSize) {
    for (const Expected& e : DialogSkins()) {
        const Picture p = DecodeBmp24(Generated().at(e.key));
        ASSERT_EQ(p.width, e.width) << e.key;
        ASSERT_EQ(p.height, e.height) << e.key;
        const double ground = p.Luma(30, 20, p.width - 30, p.height - 20);
        EXPECT_GT(p.Luma(40, 0, p.width - 40, 4), ground + 0.2) << e.key << ": top edge";
        EXPECT_GT(p.Luma(0, 30, 4, p.height - 30), ground + 0.2) << e.key << ": left edge";
        EXPECT_GT(p.Luma(40, p.height - 4, p.width - 40, p.height), ground + 0.2) << e.key << ": bottom edge";
        EXPECT_LT(ground, 0.2) << e.key << ": light text stands on it";
    }
}

TEST(ArtFiles, SameBytesOnEveryRunWhateverTheThreads) {
    const auto again = MakeArt(1);
    ASSERT_EQ(again.size(), Generated().size());
    for (const ArtFile& f : again) {
        const std::string key = (f.folder == ArtFile::Folder::Program ? "program/" : "res/") + f.path;
        EXPECT_TRUE(f.bytes == Generated().at(key)) << key;
    }
}

}  // namespace
}  // namespace slumra::art::test
