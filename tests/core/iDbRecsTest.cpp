#include "TestUtil.h"

#include "data/iDbRecs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace slumra {
namespace {

using test::DbBytes;
using test::DbRecord;

struct RecordingGauge : ProgressSink {
    void Begin() override { ++begins; }
    void Progress(int percent) override { seen.push_back(percent); }
    void End() override { ++ends; }
    int begins = 0;
    int ends = 0;
    std::vector<int> seen;
};

bool Load(TiDbRecFile& file, const std::string& bytes, ProgressSink* gauge = nullptr) {
    MemorySource source(bytes);
    return file.LoadFromSource(source, gauge);
}

TEST(iDbRecs, UnscrambleMapsBothHalvesAndIsItsOwnInverse) {
    EXPECT_EQ(UnscrambleByte(0x01), 0x80);
    EXPECT_EQ(UnscrambleByte(0x80), 0x01);
    EXPECT_EQ(UnscrambleByte(0x00), 0x00);
    EXPECT_EQ(UnscrambleByte(0xFF), 0xFF);
    EXPECT_EQ(UnscrambleByte(0x7F), 0xFE);
    for (int b = 0; b < 256; ++b) EXPECT_EQ(UnscrambleByte(UnscrambleByte(static_cast<unsigned char>(b))), b);
}

TEST(iDbRecs, SplitPathCases) {
    std::string a, b, c;
    SplitPath("Dieren|Huisdieren|Hond", a, b, c);
    EXPECT_EQ(a + "/" + b + "/" + c, "Dieren/Huisdieren/Hond");
    SplitPath("A||C", a, b, c);
    EXPECT_EQ(b, "");
    EXPECT_EQ(c, "C");
    SplitPath("A|B", a, b, c);
    EXPECT_EQ(b, "B");
    EXPECT_EQ(c, "");
    SplitPath("A|B|C|D", a, b, c);
    EXPECT_EQ(c, "C");
    SplitPath("Alleen", a, b, c);
    EXPECT_EQ(a, "Alleen");
    EXPECT_EQ(b + c, "");
    SplitPath(nullptr, a, b, c);
    EXPECT_EQ(a + b + c, "");
    SplitPath("lang|langer|langst", a, 2, b, 3, c, 0);
    EXPECT_EQ(a, "la");
    EXPECT_EQ(b, "lan");
    EXPECT_EQ(c, "");
}

TEST(iDbRecs, LoadsRecordsWithEveryByteValue) {
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
    all.push_back('\0');
    TiDbRecFile file;
    ASSERT_TRUE(Load(file, DbBytes({{7, "A|B|C", all}, {8, "A", "tekst"}})));
    file.ShowAll();
    iDbRecInfo rec = file.GetVisibleRecord(1);
    EXPECT_EQ(rec.Id, 7u);
    EXPECT_STREQ(rec.Head, "A|B|C");
    ASSERT_EQ(rec.TextLen, all.size());
    EXPECT_EQ(std::string(rec.Text, rec.TextLen), all);
    EXPECT_EQ(rec.Visible, 1);
    EXPECT_STREQ(file.GetVisibleRecord(2).Text, "tekst");
}

// Hands out a few bytes at a time and does not tell how many are left.
class TricklingSource final : public ByteSource {
public:
    explicit TricklingSource(std::string_view bytes) : FBytes(bytes) {}
    std::size_t Read(void* dst, std::size_t n) override {
        n = std::min({n, FBytes.size(), std::size_t{5}});
        std::memcpy(dst, FBytes.data(), n);
        FBytes.remove_prefix(n);
        return n;
    }

private:
    std::string_view FBytes;
};

TEST(iDbRecs, SourceOfUnknownSizeLoadsTheSame) {
    std::string text;
    for (int i = 0; i < 30000; ++i) text.push_back(static_cast<char>(1 + i % 255));
    const std::string bytes = DbBytes({{1, "A|B|C", text}, {2, "", ""}, {3, "D", "kort"}});
    TiDbRecFile file;
    TricklingSource source(bytes);
    ASSERT_TRUE(file.LoadFromSource(source));
    file.ShowAll();
    ASSERT_EQ(file.RecordCount(), 3);
    EXPECT_EQ(std::string(file.GetVisibleRecord(1).Text, 30000), text);
    EXPECT_EQ(file.GetVisibleRecord(2).Head, nullptr);
    EXPECT_STREQ(file.GetVisibleRecord(3).Head, "D");
    EXPECT_STREQ(file.GetVisibleRecord(3).Text, "kort");
}

TEST(iDbRecs, EmptyAndZeroLengthRecords) {
    TiDbRecFile file;
    RecordingGauge gauge;
    EXPECT_TRUE(Load(file, std::string(4, '\0'), &gauge));
    EXPECT_EQ(file.RecordCount(), 0);
    EXPECT_EQ(gauge.begins, 1);
    EXPECT_EQ(gauge.ends, 1);
    EXPECT_EQ(gauge.seen, std::vector<int>{0});

    ASSERT_TRUE(Load(file, DbBytes({{5, "", ""}, {6, "A", ""}})));
    file.ShowAll();
    iDbRecInfo rec = file.GetVisibleRecord(1);
    EXPECT_EQ(rec.Id, 0u);
    EXPECT_EQ(rec.Head, nullptr);
    EXPECT_EQ(rec.Text, nullptr);
    EXPECT_EQ(file.GetVisibleRecord(2).Id, 6u);
    EXPECT_EQ(file.GetVisibleRecord(2).Text, nullptr);
}

TEST(iDbRecs, TruncationAtEveryOffsetKeepsTheRecordsBefore) {
    const std::string bytes =
        DbBytes({{1, "A|B|Een", "eerste"}, {2, "A|B|Twee", "tweede"}, {3, "A|B|Drie", "derde"}});
    const std::size_t end1 = 4 + 8 + 7 + 6;
    const std::size_t end2 = end1 + 8 + 8 + 6;
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        TiDbRecFile file;
        const bool ok = Load(file, bytes.substr(0, cut));
        EXPECT_FALSE(ok) << cut;
        const int expected = cut < end1 ? 0 : cut < end2 ? 1 : 2;
        EXPECT_EQ(file.RecordCount(), expected) << cut;
        file.ShowAll();
        if (expected >= 1) {
            EXPECT_STREQ(file.GetVisibleRecord(1).Text, "eerste");
        }
    }
}

TEST(iDbRecs, LyingCountsAndLengthsReadOnlyWhatIsThere) {
    std::string bytes = DbBytes({{1, "A|B|C", "x"}});
    bytes[0] = '\x00';
    bytes[1] = '\x94';
    bytes[2] = '\x35';
    bytes[3] = '\x77';  // 2,000,000,000 records claimed
    TiDbRecFile file;
    EXPECT_FALSE(Load(file, bytes));
    EXPECT_EQ(file.RecordCount(), 1);

    std::string huge;
    test::PutU32(huge, 1);
    test::PutU32(huge, 9);
    test::PutU16(huge, 0xFFFF);
    test::PutU16(huge, 0xFFFF);
    huge += "abc";
    EXPECT_FALSE(Load(file, huge));
    EXPECT_EQ(file.RecordCount(), 0);

    std::string negative;
    test::PutU32(negative, 0xFFFFFFFF);
    EXPECT_TRUE(Load(file, negative));
    EXPECT_EQ(file.RecordCount(), 0);
}

TEST(iDbRecs, GaugeHearsEachPercentOnceAndEndsAfterAnEarlyStop) {
    std::vector<DbRecord> recs;
    for (std::uint32_t i = 1; i <= 1000; ++i) recs.push_back({i, "A|B|S" + std::to_string(i), "t"});
    TiDbRecFile file;
    RecordingGauge gauge;
    ASSERT_TRUE(Load(file, DbBytes(recs), &gauge));
    ASSERT_EQ(gauge.seen.size(), 101u);
    for (int p = 0; p <= 100; ++p) EXPECT_EQ(gauge.seen[static_cast<std::size_t>(p)], p);

    RecordingGauge cut;
    const std::string bytes = DbBytes(recs);
    EXPECT_FALSE(Load(file, bytes.substr(0, bytes.size() / 2), &cut));
    EXPECT_EQ(cut.ends, 1);
    EXPECT_LT(cut.seen.back(), 100);
}

TEST(iDbRecs, LoadTwiceReplacesAndMissingFileEmpties) {
    TiDbRecFile file;
    ASSERT_TRUE(Load(file, DbBytes({{1, "A|B|C", "x"}, {2, "A|B|D", "y"}})));
    ASSERT_TRUE(Load(file, DbBytes({{3, "Q", "z"}})));
    file.ShowAll();
    EXPECT_EQ(file.RecordCount(), 1);
    EXPECT_EQ(file.GetVisibleRecord(1).Id, 3u);
    EXPECT_FALSE(file.LoadFromFile("this/file/does/not/exist.dat"));
    EXPECT_EQ(file.RecordCount(), 0);
}

TEST(iDbRecs, VisibleIndexOutOfRangeKeepsRememberedPosition) {
    std::vector<DbRecord> recs;
    for (std::uint32_t i = 1; i <= 50; ++i) recs.push_back({i, "A|B|S", ""});
    TiDbRecFile file;
    ASSERT_TRUE(Load(file, DbBytes(recs)));
    EXPECT_EQ(file.GetVisibleRecord(1).Id, 0u);  // nothing is visible before ShowAll
    file.ShowAll();
    EXPECT_EQ(file.VisibleIndexToChain(17), 17);
    const iDbRecInfo none = file.GetVisibleRecord(51);
    EXPECT_EQ(none.Id, 0u);
    EXPECT_EQ(none.Head, nullptr);
    EXPECT_EQ(file.GetVisibleRecord(0).Id, 0u);
    // Every order of requests finds the right record.
    const int order[] = {17, 18, 50, 1, 25, 24, 2, 49, 26, 3};
    for (int n : order) EXPECT_EQ(file.GetVisibleRecord(n).Id, static_cast<std::uint32_t>(n)) << n;
    for (int n = 1; n <= 50; ++n) EXPECT_EQ(file.VisibleIndexToChain(n), n);
}

}  // namespace
}  // namespace slumra
