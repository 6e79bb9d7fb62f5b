#include "output/ClipText.h"

#include "data/iDbRecs.h"

namespace slumra {

std::string RecordClipboardText(const char* head, const char* text, const std::string& caption) {
    std::string level1, level2, level3;
    SplitPath(head, level1, level2, level3);
    const std::string heading = (level1 + ", " + level2 + "\r\n\r\n" + level3 + "\r\n\r\n").substr(0, 255);
    const std::string trailer =
        (std::string("\r\n") + kPublisherNotice + "\r\nBron: " + caption).substr(0, 255);
    std::string out = heading;
    if (text != nullptr) {
        for (const char* p = text; *p != '\0'; ++p) {
            if (*p != '{' && *p != '}') out.push_back(*p);
        }
    }
    out += trailer;
    return out;
}

}  // namespace slumra
