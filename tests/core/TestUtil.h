// Helpers shared by the core tests: byte builders for the record files and a scratch folder.
#pragma once

#include "data/Coding.h"
#include "data/iDbRecs.h"
#include "../Scratch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace slumra::test {

inline std::string Scrambled(std::string text) {
    UnscrambleBytes(text.data(), text.size());
    return text;
}

inline void PutU16(std::string& out, unsigned v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

inline void PutU32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

struct DbRecord {
    std::uint32_t id;
    std::string head;
    std::string text;
};

// The bytes of an interpretation database holding `records`.
inline std::string DbBytes(const std::vector<DbRecord>& records) {
    std::string out;
    PutU32(out, static_cast<std::uint32_t>(records.size()));
    for (const DbRecord& r : records) {
        PutU32(out, r.id);
        PutU16(out, static_cast<unsigned>(r.head.size()));
        PutU16(out, static_cast<unsigned>(r.text.size()));
        out += Scrambled(r.head);
        out += Scrambled(r.text);
    }
    return out;
}

// A fresh, empty folder for one test, removed again at its end.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

private:
    std::filesystem::path dir_;
};

inline ScratchDir::ScratchDir() {
    // Tests run in parallel processes: the process and the test's own name keep their folders apart.
    static int serial = 0;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string test = info != nullptr ? std::string(info->test_suite_name()) + "." + info->name() : "none";
    dir_ = ScratchPath("slumra-" + test + "-" + std::to_string(++serial));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
}

inline ScratchDir::~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
}

}  // namespace slumra::test
