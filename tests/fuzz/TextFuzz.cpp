// The text cutters over fuzzed text: the record list's word wrap, the printer's word wrap and
// the clipboard text. None of them loses or invents a character, and every line fits its
// width unless a single word (or, in print, a single character) cannot.
#include "FuzzInput.h"

#include "app/RecordText.h"
#include "output/ClipText.h"
#include "output/PrintLayout.h"

#include <string>
#include <vector>

using namespace slumra;
using fuzz::Check;

namespace {

// Characters of four widths, so that the cut points move with the text.
int CharWidth(char c) {
    return 1 + (static_cast<unsigned char>(c) & 3);
}
int Width(const std::string& s) {
    int w = 0;
    for (char c : s) w += CharWidth(c);
    return w;
}

std::string Without(std::string_view text, std::string_view dropped) {
    std::string out;
    for (char c : text)
        if (dropped.find(c) == std::string_view::npos) out.push_back(c);
    return out;
}

class RecordingPage : public PrintPage {
public:
    int Width() const override { return 100000; }
    int Height() const override { return 100000; }
    void SetFontSize(int points) override { FSize = points; }
    int FontSize() const override { return FSize; }
    TextSize Measure(const std::string& text) override { return {::Width(text), 10}; }
    void Print(int, int, const std::string& text) override { Printed.push_back(text); }
    void NewPage() override {}
    int PageNumber() const override { return 1; }
    std::vector<std::string> Printed;

private:
    int FSize = 10;
};

void CheckRecordWrap(std::string_view text, int limit) {
    const std::vector<std::string> lines = WrapRecordText(text, limit, Width);
    // The list keeps words and lines to 255 bytes; below that nothing is lost.
    const std::string kept(text.substr(0, std::min(text.find('\0'), std::size_t{65535})));
    bool shortWords = true;
    for (const std::string& word : fuzz::Split(Without(kept, "\r\n"), ' ')) shortWords &= word.size() < 250;
    std::string joined;
    for (const std::string& line : lines) {
        const std::size_t space = line.find(' ');
        Check(Width(line) <= limit || space == std::string::npos || space + 1 == line.size());
        joined += line;
    }
    if (shortWords && limit <= 255) Check(joined == Without(kept, "\r\n"));
}

void CheckPrintWrap(const std::string& text, int maxWidth) {
    RecordingPage page;
    int y = 0, advances = 0;
    WrapText(page, 0, maxWidth, y, text, [&] { ++advances; });
    std::string joined;
    for (const std::string& line : page.Printed) {
        std::string bare = line;
        while (!bare.empty() && bare.back() == ' ') bare.pop_back();
        Check(Width(bare) <= maxWidth || bare.size() <= 1);
        joined += line;
    }
    Check(joined == Without(text, "\r\n{}"));
    Check(advances >= static_cast<int>(page.Printed.size()) - 1);
}

void CheckClipboard(const std::vector<std::string>& fields) {
    const std::string& head = fields[0];
    const std::string& text = fields[1];
    const std::string& caption = fields[2];
    const std::string out = RecordClipboardText(head.c_str(), text.c_str(), caption);
    const std::string body = Without(std::string_view(text.c_str()), "{}");
    std::string trailer = std::string("\r\n") + kPublisherNotice + "\r\nBron: " + caption;
    trailer.resize(std::min<std::size_t>(trailer.size(), 255));
    Check(out.size() >= body.size() + trailer.size());
    Check(out.compare(out.size() - trailer.size(), trailer.size(), trailer) == 0);
    const std::size_t headingSize = out.size() - trailer.size() - body.size();
    Check(headingSize <= 255 && out.compare(headingSize, body.size(), body) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const int limit = fuzz::TakeByte(bytes) + 1;
    const std::string text(bytes);
    CheckRecordWrap(text, limit);
    CheckRecordWrap(text, limit * 8);
    CheckPrintWrap(text, limit);
    std::vector<std::string> fields = fuzz::Split(bytes, '\x01');
    fields.resize(3);
    CheckClipboard(fields);
    return 0;
}
