#include "app/RecordText.h"

#include <unordered_map>

namespace slumra {

std::vector<std::string> WrapRecordText(std::string_view text, int limit, const MeasureText& width) {
    // Each word is measured once (and a word that comes back is not measured again); a line's
    // width is the sum of its words' widths. Only a line cut at 255 bytes is measured whole.
    std::unordered_map<std::string, int> widths;
    auto measure = [&](const std::string& s) {
        const auto it = widths.find(s);
        if (it != widths.end()) return it->second;
        const int w = width(s);
        widths.emplace(s, w);
        return w;
    };
    std::vector<std::string> lines;
    std::string line, word;
    int lineWidth = 0;
    auto wordFits = [&](int wordWidth) { return lineWidth + wordWidth <= limit; };
    auto endParagraph = [&] {
        if (wordFits(measure(word))) {
            lines.push_back(line + word);
        } else {
            lines.push_back(line);
            lines.push_back(word);
        }
        line.clear();
        word.clear();
        lineWidth = 0;
    };
    text = text.substr(0, std::min<std::size_t>(text.size(), 65535));
    const std::size_t zero = text.find('\0');
    if (zero != std::string_view::npos) text = text.substr(0, zero);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch != '\r' && ch != '\n' && word.size() < 255) word.push_back(ch);
        if (ch == '\n' && i > 0 && text[i - 1] == '\r') {
            endParagraph();
        } else if (ch == ' ') {
            const int wordWidth = measure(word);
            if (wordFits(wordWidth)) {
                line += word;
                lineWidth += wordWidth;
                if (line.size() > 255) {
                    line.resize(255);
                    lineWidth = width(line);
                }
            } else {
                lines.push_back(line);
                line = word;
                lineWidth = wordWidth;
            }
            word.clear();
        }
    }
    if (!word.empty()) {
        endParagraph();
    } else if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

}  // namespace slumra
