// Small helpers the fuzz targets share: cutting the input into fields and building the bytes
// of an interpretation database from record heads.
#pragma once

#include "data/iDbRecs.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace slumra::fuzz {

// Fails the run: libFuzzer keeps the input that got here.
[[noreturn]] inline void Fail() {
    std::abort();
}
inline void Check(bool ok) {
    if (!ok) Fail();
}

// The parts of `bytes` between the separator bytes (n separators give n + 1 parts).
inline std::vector<std::string> Split(std::string_view bytes, char separator) {
    std::vector<std::string> parts;
    for (;;) {
        const std::size_t at = bytes.find(separator);
        parts.emplace_back(bytes.substr(0, at));
        if (at == std::string_view::npos) return parts;
        bytes.remove_prefix(at + 1);
    }
}

// Takes the first byte of the input, or 0 when it is empty.
inline std::uint8_t TakeByte(std::string_view& bytes) {
    if (bytes.empty()) return 0;
    const auto b = static_cast<std::uint8_t>(bytes.front());
    bytes.remove_prefix(1);
    return b;
}

// The database file holding one record per head (ids 1, 2, ...), each with a short text.
inline std::string DbBytes(const std::vector<std::string>& heads) {
    auto put = [](std::string& out, std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    std::string out;
    put(out, static_cast<std::uint32_t>(heads.size()), 4);
    std::uint32_t id = 0;
    for (std::string head : heads) {
        if (head.size() > 0xFFFF) head.resize(0xFFFF);
        std::string text = "t";
        put(out, ++id, 4);
        put(out, static_cast<std::uint32_t>(head.size()), 2);
        put(out, static_cast<std::uint32_t>(text.size()), 2);
        UnscrambleBytes(head.data(), head.size());  // scrambling is its own inverse
        UnscrambleBytes(text.data(), text.size());
        out += head + text;
    }
    return out;
}

}  // namespace slumra::fuzz
