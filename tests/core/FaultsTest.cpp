// Bad inputs and faults of the fault catalogue (tests/faults/README.md) that no unit's own
// tests cover: what the user's data looks like after each, and that nothing is lost.
#include "TestUtil.h"

#include "data/Synonyms.h"
#include "diary/DiarySession.h"
#include "lang/TVWriter.h"
#include "lang/TransLtr.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace slumra {
namespace {

using namespace std::string_literals;

void Save(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Diary(int dreams, const std::string& text) {
    TDrDiRecFile diary;
    for (int i = 0; i < dreams; ++i) {
        DrDiRec rec;
        rec.Head = "Droom " + std::to_string(i) + "|1-2-2026|03:00";
        rec.Description = text;
        EXPECT_TRUE(diary.AddRecord(rec));
    }
    StringSink sink;
    EXPECT_TRUE(diary.SaveToSink(sink));
    return sink.Bytes();
}

TEST(Faults, SynonymFileMissingOrFarTooLargeGivesNoSynonyms) {
    test::ScratchDir dir;
    EXPECT_TRUE(LoadSynonymList(dir.Path("Syn.dat")).empty());
    const std::string path = dir.Path("big.dat");
    Save(path, "|Slang|adder|\r\n");
    EXPECT_EQ(LoadSynonymList(path).size(), 1u);
    std::filesystem::resize_file(path, kMaxSynonymFileBytes + 1);
    EXPECT_TRUE(LoadSynonymList(path).empty());
}

TEST(Faults, SaveKilledAtEveryStageLosesNoDiary) {
    // Saving writes Jan.ddf.new and then renames it over Jan.ddf. Killed before the rename, a
    // start finds the old diary (and a stale .new of any length); killed after it, the new one.
    test::ScratchDir dir;
    const std::string path = dir.Path("Jan.ddf"), temp = path + ".new";
    const std::string before = Diary(2, "oud"), after = Diary(3, "nieuw");
    for (std::size_t cut = 0; cut <= after.size(); ++cut) {
        Save(path, before);
        Save(temp, after.substr(0, cut));
        DiarySession session;
        ASSERT_EQ(session.Open(path), DiaryOpenResult::Loaded) << cut;
        ASSERT_EQ(session.File().Count(), 2) << cut;
        // The next save goes through the stale file and leaves none behind.
        session.File().ShowAll();
        ASSERT_TRUE(session.StoreDream(1, {"Vliegen", "1-2-2026", "03:00", "over zee", ""})) << cut;
        ASSERT_TRUE(session.Save()) << cut;
        EXPECT_FALSE(std::filesystem::exists(temp)) << cut;
    }
    std::filesystem::remove(path);
    Save(path, after);
    DiarySession session;
    ASSERT_EQ(session.Open(path), DiaryOpenResult::Loaded);
    EXPECT_EQ(session.File().Count(), 3);
}

TEST(Faults, UserFolderRemovedWhileOpenFailsTheSaveAndKeepsTheEdit) {
    test::ScratchDir dir;
    const std::filesystem::path folder = dir.Path("User");
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "Jan.ddf").string();
    Save(path, Diary(1, "oud"));
    DiarySession session;
    ASSERT_EQ(session.Open(path), DiaryOpenResult::Loaded);
    std::filesystem::remove_all(folder);
    session.File().ShowAll();
    ASSERT_TRUE(session.StoreDream(1, {"Vliegen", "1-2-2026", "03:00", "over zee", ""}));
    EXPECT_FALSE(session.Save());
    EXPECT_EQ(session.LastError(), FileError::NotFound);
    EXPECT_EQ(session.File().GetVisibleRecord(1).Description, "over zee");
}

TEST(Faults, DiaryOfAMillionDreamsLoadsAndSavesBackTheSameBytes) {
    std::string bytes = "\x40\x42\x0F\x00"s;                                    // 1,000,000
    const std::string dream = "\x01\x00\x00\x00\x01\x00\x00\x00\x00\x00\xC1"s;  // Id 1, head "B"
    bytes.reserve(bytes.size() + dream.size() * 1000000);
    for (int i = 0; i < 1000000; ++i) bytes += dream;
    TDrDiRecFile diary;
    MemorySource source(bytes);
    ASSERT_TRUE(diary.LoadFromSource(source));
    EXPECT_EQ(diary.Count(), 1000000);
    StringSink sink;
    ASSERT_TRUE(diary.SaveToSink(sink));
    EXPECT_TRUE(sink.Bytes() == bytes);
}

class LanguageFileFaults : public ::testing::Test {
protected:
    void TearDown() override {
        LanguageCode = 44;
        LanguageFile.clear();
        SetTranslatorHooks({});
    }
    test::ScratchDir dir;
};

TEST_F(LanguageFileFaults, DamagedOrUnopenedLanguageFileLeavesTheDutchTexts) {
    std::string file, error;
    ASSERT_TRUE(WriteTableFile(
        {{"Contents",
          {{"iCountry", TVType::Integer}, {"sCountry", TVType::String, 20}},
          {{std::int64_t{44}, std::string("English")}}},
         {"Program (English)",
          {{"Tag", TVType::Integer}, {"Caption", TVType::String, 40}, {"Hint", TVType::String, 40}},
          {{std::int64_t{3305}, std::string("Error"), std::string()}}}},
        {.Password = "pw"}, file, error))
        << error;
    std::optional<std::string> answer = "pw";
    TranslatorHooks hooks;
    hooks.OnPassword = [&] { return answer; };
    SetTranslatorHooks(hooks);
    LanguageCode = 44;
    LanguageFile = dir.Path("UI.LNG");
    Save(LanguageFile, file);
    ASSERT_EQ(ProgramText(3305, "Fout"), "Error");
    // Protected, and the password dialog cancelled or answered wrongly.
    for (const std::optional<std::string>& wrong :
         {std::optional<std::string>(), std::optional<std::string>("x")}) {
        answer = wrong;
        LanguageFile = dir.Path("UI2.LNG");
        Save(LanguageFile, file);
        EXPECT_EQ(ProgramText(3305, "Fout"), "Fout");
    }
    // Cut short at every offset: Dutch where the text is cut off, never an empty text or a crash.
    answer = "pw";
    for (std::size_t cut = 0; cut < file.size(); cut += 1) {
        LanguageFile = dir.Path("cut" + std::to_string(cut) + ".LNG");
        Save(LanguageFile, file.substr(0, cut));
        const std::string text = ProgramText(3305, "Fout");
        EXPECT_TRUE(text == "Fout" || text == "Error") << cut << ": " << text;
    }
}

}  // namespace
}  // namespace slumra
