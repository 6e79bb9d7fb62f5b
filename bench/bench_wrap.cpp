// Counts what the word wrap of a 65,535-byte interpretation text asks the font to measure, and
// how long it takes here with a measuring function that adds up character widths. Under Wine
// every measurement is a call into GDI, which is what makes their number matter.

#include "app/RecordText.h"

#include <chrono>
#include <cstdio>
#include <string>

using namespace slumra;

int main() {
    const char* words[] = {"De", "droom", "van", "water", "wijst", "op", "gevoelens", "die", "stromen", "en",
                           "soms", "overstromen;", "een", "heldere", "zee", "brengt", "rust."};
    std::string text;
    for (unsigned i = 0; text.size() < 65535; ++i) {
        text += words[(i * 7 + i / 17) % 17];
        text += i % 40 == 39 ? "\r\n\r\n" : " ";
    }
    text.resize(65535);

    long calls = 0;
    long bytes = 0;
    const MeasureText width = [&](const std::string& s) {
        ++calls;
        bytes += static_cast<long>(s.size());
        int w = 0;
        for (unsigned char c : s) w += c == ' ' ? 4 : c < 'a' ? 9 : 7;
        return w;
    };
    const auto t0 = std::chrono::steady_clock::now();
    const auto lines = WrapRecordText(text, 243, width);
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();

    // What measuring "line + word" for every word asked before.
    long wordsSeen = 0;
    long before = 0;
    for (const auto& line : lines) {
        std::size_t prefix = 0;
        for (std::size_t p = 0; p < line.size(); ++p) {
            if (line[p] != ' ' && (p + 1 == line.size() || line[p + 1] == ' ')) {
                ++wordsSeen;
                prefix = p + 2;
                before += static_cast<long>(prefix);
            }
        }
    }
    std::printf("65,535 bytes, %ld words, %zu lines\n", wordsSeen, lines.size());
    std::printf("measurements: %ld of %ld bytes in all (line + word for every word: %ld of about %ld bytes)\n",
                calls, bytes, wordsSeen, before);
    std::printf("wrap here: %.2f ms\n", ms);
    return 0;
}
