#include "TestUtil.h"

#include "data/Files.h"
#include "diary/DrDiRecs.h"

#include <gtest/gtest.h>

namespace slumra {
namespace {

DrDiRec Dream(std::string head, std::string description = {}, std::string explanation = {}) {
    DrDiRec rec;
    rec.Head = std::move(head);
    rec.Description = std::move(description);
    rec.Explanation = std::move(explanation);
    return rec;
}

std::string Saved(TDrDiRecFile& diary) {
    StringSink sink;
    EXPECT_TRUE(diary.SaveToSink(sink));
    return sink.Bytes();
}

bool Load(TDrDiRecFile& diary, const std::string& bytes) {
    MemorySource source(bytes);
    return diary.LoadFromSource(source);
}

// Takes `limit` bytes, then refuses everything.
class FailingSink final : public ByteSink {
public:
    explicit FailingSink(std::size_t limit) : limit_(limit) {}
    std::size_t Write(const void*, std::size_t n) override {
        const std::size_t take = std::min(n, limit_ - written_);
        written_ += take;
        return take;
    }

private:
    std::size_t limit_;
    std::size_t written_ = 0;
};

TEST(DrDiRecs, StoredFormOfOneRecord) {
    TDrDiRecFile diary;
    ASSERT_TRUE(diary.AddRecord(Dream("abc")));
    EXPECT_EQ(Saved(diary), std::string("\x01\0\0\0\x01\0\0\0\x03\0\0\0\0\0\xE0\xE1\xE2", 17));
}

TEST(DrDiRecs, RoundTripWithEveryByteValueLeavesMemoryUntouched) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    TDrDiRecFile diary;
    ASSERT_TRUE(diary.AddRecord(Dream("Vliegen|01-02-2026|07:30", all, "uitleg\r\nregel 2")));
    ASSERT_TRUE(diary.AddRecord(Dream("Tweede", "", all)));
    const std::string bytes = Saved(diary);
    diary.ShowAll();
    EXPECT_EQ(diary.GetVisibleRecord(1).Description, all);

    TDrDiRecFile back;
    ASSERT_TRUE(Load(back, bytes));
    back.ShowAll();
    ASSERT_EQ(back.Count(), 2);
    const DrDiRec first = back.GetVisibleRecord(1);
    EXPECT_EQ(first.Id, 1);
    EXPECT_EQ(first.Head, "Vliegen|01-02-2026|07:30");
    EXPECT_EQ(first.Description, all);
    EXPECT_EQ(first.Explanation, "uitleg\r\nregel 2");
    EXPECT_EQ(back.GetVisibleRecord(2).Explanation, all);
    EXPECT_EQ(back.GetVisibleRecord(2).Id, 2);
    EXPECT_EQ(Saved(back), bytes);
}

TEST(DrDiRecs, TruncationAtEveryOffset) {
    TDrDiRecFile diary;
    ASSERT_TRUE(diary.AddRecord(Dream("Een|d|t", "beschrijving", "uitleg")));
    ASSERT_TRUE(diary.AddRecord(Dream("Twee", "b", "")));
    const std::string bytes = Saved(diary);
    const std::size_t end1 = 4 + 10 + 7 + 12 + 6;
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        TDrDiRecFile back;
        EXPECT_FALSE(Load(back, bytes.substr(0, cut))) << cut;
        EXPECT_EQ(back.Count(), cut < end1 ? 0 : 1) << cut;
    }
}

// A source that runs out of memory on its n-th read, as a text buffer would.
class ThrowingSource final : public ByteSource {
public:
    ThrowingSource(std::string_view bytes, int failAt) : inner_(bytes), failAt_(failAt) {}
    std::size_t Read(void* dst, std::size_t n) override {
        if (++reads_ == failAt_) throw std::bad_alloc();
        return inner_.Read(dst, n);
    }
    std::size_t Remaining() const override { return inner_.Remaining(); }

private:
    MemorySource inner_;
    int failAt_;
    int reads_ = 0;
};

TEST(DrDiRecs, NoMemoryDuringLoadIsAFailureNotAnException) {
    TDrDiRecFile diary;
    ASSERT_TRUE(diary.AddRecord(Dream("Een|d|t", "beschrijving", "uitleg")));
    ASSERT_TRUE(diary.AddRecord(Dream("Twee", "b", "")));
    const std::string bytes = Saved(diary);
    for (int failAt = 2; failAt <= 6; ++failAt) {
        TDrDiRecFile back;
        ThrowingSource source(bytes, failAt);
        EXPECT_FALSE(back.LoadFromSource(source)) << failAt;
    }
}

TEST(DrDiRecs, CountsZeroNegativeAndLying) {
    TDrDiRecFile diary;
    std::string zero(4, '\0');
    EXPECT_TRUE(Load(diary, zero));
    EXPECT_EQ(diary.Count(), 0);
    EXPECT_TRUE(Load(diary, std::string("\xFF\xFF\xFF\xFF", 4)));
    EXPECT_EQ(diary.Count(), 0);
    // Two billion records claimed in a 12-byte file.
    EXPECT_FALSE(Load(diary, std::string("\x00\x94\x35\x77\x01\x00\x00\x00\xFF\xFF\xFF\xFF", 12)));
    EXPECT_EQ(diary.Count(), 0);
    EXPECT_FALSE(Load(diary, ""));
}

TEST(DrDiRecs, AllLengthsZeroReadsWithIdZeroAndWritesItBack) {
    std::string bytes("\x01\0\0\0\x2A\0\0\0\0\0\0\0\0\0", 14);
    TDrDiRecFile diary;
    ASSERT_TRUE(Load(diary, bytes));
    diary.ShowAll();
    EXPECT_EQ(diary.GetVisibleRecord(1).Id, 0);
    EXPECT_EQ(Saved(diary), std::string("\x01\0\0\0\0\0\0\0\0\0\0\0\0\0", 14));
}

TEST(DrDiRecs, IdsFollowTheLastRecord) {
    TDrDiRecFile diary;
    ASSERT_TRUE(diary.AddRecord(Dream("a")));
    ASSERT_TRUE(diary.AddRecord(Dream("b")));
    ASSERT_TRUE(diary.AddRecord(Dream("c")));
    diary.ShowAll();
    ASSERT_TRUE(diary.DeleteVisibleRecord(3));
    ASSERT_TRUE(diary.AddRecord(Dream("d")));
    diary.ShowAll();
    EXPECT_EQ(diary.GetVisibleRecord(3).Id, 3);
    EXPECT_EQ(diary.GetVisibleRecord(3).Head, "d");

    DrDiRec big = Dream("max");
    big.Id = INT32_MAX;
    ASSERT_TRUE(diary.SetVisibleRecord(3, big));
    ASSERT_TRUE(diary.AddRecord(Dream("e")));
    diary.ShowAll();
    EXPECT_EQ(diary.GetVisibleRecord(4).Id, INT32_MIN);
}

TEST(DrDiRecs, VisibleIndexBoundsAndEveryPosition) {
    TDrDiRecFile diary;
    for (int i = 0; i < 30; ++i) ASSERT_TRUE(diary.AddRecord(Dream("d" + std::to_string(i))));
    EXPECT_EQ(diary.VisibleIndexToChain(1), 0);  // unmarked until ShowAll
    diary.ShowAll();
    EXPECT_EQ(diary.VisibleIndexToChain(0), 0);
    EXPECT_EQ(diary.VisibleIndexToChain(31), 0);
    EXPECT_EQ(diary.GetVisibleRecord(31).Id, 0);
    EXPECT_TRUE(diary.GetVisibleRecord(31).Head.empty());
    const int order[] = {30, 1, 15, 14, 16, 2, 29, 3, 28};
    for (int n : order) EXPECT_EQ(diary.VisibleIndexToChain(n), n);
    for (int n = 1; n <= 30; ++n) EXPECT_EQ(diary.GetVisibleRecord(n).Head, "d" + std::to_string(n - 1));
    EXPECT_FALSE(diary.SetVisibleRecord(0, Dream("x")));
    EXPECT_FALSE(diary.DeleteVisibleRecord(31));
}

TEST(DrDiRecs, ShortWritesFailAtEveryOffset) {
    TDrDiRecFile diary;
    ASSERT_TRUE(diary.AddRecord(Dream("Naam|d|t", "beschrijving", "uitleg")));
    const std::size_t size = Saved(diary).size();
    for (std::size_t limit = 0; limit < size; ++limit) {
        FailingSink sink(limit);
        EXPECT_FALSE(diary.SaveToSink(sink)) << limit;
    }
    FailingSink enough(size);
    EXPECT_TRUE(diary.SaveToSink(enough));
}

TEST(DrDiRecs, TextTooLongForTheFormatIsRefusedNotCut) {
    TDrDiRecFile diary;
    ASSERT_TRUE(diary.AddRecord(Dream("Lang", std::string(kMaxDiaryText + 1, 'x'))));
    StringSink sink;
    EXPECT_FALSE(diary.SaveToSink(sink));
}

TEST(DrDiRecs, FailedSaveLeavesTheOldFileIntact) {
    test::ScratchDir dir;
    const std::string path = dir.Path("Mijn dromen.ddf");
    TDrDiRecFile diary;
    ASSERT_TRUE(diary.AddRecord(Dream("Eerste", "oud")));
    ASSERT_TRUE(diary.SaveToFile(path));
    std::string before;
    ASSERT_TRUE(ReadWholeFile(path, before));

    // A save that cannot complete: the new text does not fit the format.
    ASSERT_TRUE(diary.AddRecord(Dream("Tweede", std::string(kMaxDiaryText + 1, 'y'))));
    EXPECT_FALSE(diary.SaveToFile(path));
    std::string after;
    ASSERT_TRUE(ReadWholeFile(path, after));
    EXPECT_EQ(after, before);
    EXPECT_FALSE(FileExists(path + ".new"));

    // A save into a folder that does not exist fails and creates nothing.
    EXPECT_FALSE(diary.SaveToFile(dir.Path("geen/map/x.ddf")));

    diary.ShowAll();
    ASSERT_TRUE(diary.DeleteVisibleRecord(2));
    ASSERT_TRUE(diary.SaveToFile(path));
    TDrDiRecFile back;
    ASSERT_TRUE(back.LoadFromFile(path));
    EXPECT_EQ(back.Count(), 1);
}

TEST(DrDiRecs, ZeroLengthFileLoadsEmptyAndSavesValid) {
    test::ScratchDir dir;
    const std::string path = dir.Path("leeg.ddf");
    {
        FileSink sink(path);
        ASSERT_TRUE(sink.Close());
    }
    TDrDiRecFile diary;
    EXPECT_FALSE(diary.LoadFromFile(path));
    EXPECT_EQ(diary.Count(), 0);
    ASSERT_TRUE(diary.SaveToFile(path));
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(path, bytes));
    EXPECT_EQ(bytes, std::string(4, '\0'));
}

}  // namespace
}  // namespace slumra
