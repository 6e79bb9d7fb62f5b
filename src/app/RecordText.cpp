#include "app/RecordText.h"

namespace slumra {

std::vector<std::string> WrapRecordText(std::string_view text, int limit, const MeasureText& width) {
    std::vector<std::string> lines;
    std::string line, word;
    auto cut = [](std::string& s) {
        if (s.size() > 255) s.resize(255);
    };
    auto fits = [&] { return width(line + word) <= limit; };
    auto endParagraph = [&] {
        if (fits()) {
            lines.push_back(line + word);
        } else {
            lines.push_back(line);
            lines.push_back(word);
        }
        line.clear();
        word.clear();
    };
    text = text.substr(0, std::min<std::size_t>(text.size(), 65535));
    const std::size_t zero = text.find('\0');
    if (zero != std::string_view::npos) text = text.substr(0, zero);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch != '\r' && ch != '\n') {
            word.push_back(ch);
            cut(word);
        }
        if (ch == '\n' && i > 0 && text[i - 1] == '\r') {
            endParagraph();
        } else if (ch == ' ') {
            if (fits()) {
                line += word;
                cut(line);
            } else {
                lines.push_back(line);
                line = word;
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
