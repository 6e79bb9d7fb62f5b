// Counts what the word wrap of a 65,535-byte interpretation text asks the font to measure, and
// how long it takes here with a measuring function that adds up character widths. Under Wine
// every measurement is a call into GDI, which is what makes their number matter.

#include "app/RecordText.h"

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

using namespace slumra;

int main() {
    // A vocabulary of 3,000 made-up words, the common ones far more frequent, as in prose.
    std::vector<std::string> words;
    std::mt19937 rng(65535);
    for (int i = 0; i < 3000; ++i) {
        std::string w;
        for (int k = 2 + static_cast<int>(rng() % 9); k > 0; --k) w += static_cast<char>('a' + rng() % 26);
        if (i % 50 == 0) w[0] = static_cast<char>(w[0] - 32);
        if (i % 30 == 0) w += ',';
        words.push_back(w);
    }
    std::string text;
    for (unsigned i = 0; text.size() < 65535; ++i) {
        const double u = static_cast<double>(rng()) / rng.max();
        text += words[static_cast<std::size_t>(u * u * u * 2999)];
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
