#include "TestUtil.h"

#include "diary/DiarySession.h"

#include <gtest/gtest.h>

#include <map>

namespace slumra {
namespace {

// Files in memory, with faults where a test asks for them.
class FaultyFileSystem final : public FileSystem {
public:
    std::map<std::string, std::string> files;
    std::size_t writeBudget = std::string::npos;  // bytes written before the disk is "full"
    FileError createError = FileError::None;      // every create fails with this
    FileError moveError = FileError::None;
    FileError readError = FileError::None;        // reads of existing files fail with this
    bool copyComesBackDifferent = false;          // what was written reads back changed

    bool Exists(const std::string& path) override { return files.count(path) != 0; }
    bool ReadWhole(const std::string& path, std::string& out) override {
        auto it = files.find(path);
        if (it == files.end() || readError != FileError::None) {
            FLastError = it == files.end() ? FileError::NotFound : readError;
            return false;
        }
        out = it->second;
        if (copyComesBackDifferent && path.find(".beschadigd") != std::string::npos && !out.empty()) out[0] ^= 1;
        return true;
    }
    std::unique_ptr<WritableFile> Create(const std::string& path) override { return Make(path, false); }
    std::unique_ptr<WritableFile> CreateNew(const std::string& path) override { return Make(path, true); }
    bool Move(const std::string& from, const std::string& to) override {
        if (moveError != FileError::None || !Exists(from)) {
            FLastError = moveError;
            return false;
        }
        files[to] = files[from];
        files.erase(from);
        return true;
    }
    bool Remove(const std::string& path) override { return files.erase(path) != 0; }
    bool MakeFolders(const std::string&) override { return true; }

private:
    class File final : public WritableFile {
    public:
        File(FaultyFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
        std::size_t Write(const void* src, std::size_t n) override {
            const std::size_t take = std::min(n, fs_.writeBudget);
            if (fs_.writeBudget != std::string::npos) fs_.writeBudget -= take;
            fs_.files[path_].append(static_cast<const char*>(src), take);
            if (take < n) error_ = FileError::DiskFull;
            return take;
        }
        bool Close() override { return error_ == FileError::None; }
        FileError Error() const override { return error_; }

    private:
        FaultyFileSystem& fs_;
        std::string path_;
        FileError error_ = FileError::None;
    };

    std::unique_ptr<WritableFile> Make(const std::string& path, bool mustBeNew) {
        if (createError != FileError::None || (mustBeNew && Exists(path))) {
            FLastError = createError;
            return nullptr;
        }
        files[path].clear();
        return std::make_unique<File>(*this, path);
    }
};

const std::string kPath = "User\\Jan.ddf";

std::string DiaryBytes(std::initializer_list<std::string> heads) {
    TDrDiRecFile diary;
    for (const auto& h : heads) {
        DrDiRec rec;
        rec.Head = h;
        rec.Description = "Ik vloog over de zee.";
        EXPECT_TRUE(diary.AddRecord(rec));
    }
    StringSink sink;
    EXPECT_TRUE(diary.SaveToSink(sink));
    return sink.Bytes();
}

// Opens a whole diary of two dreams and writes an edit into the first.
void OpenAndEdit(DiarySession& session) {
    ASSERT_EQ(session.Open(kPath), DiaryOpenResult::Loaded);
    session.File().ShowAll();
    ASSERT_TRUE(session.StoreDream(1, {"Vliegen", "1-2-2026", "03:00", "Nieuw|tekst", "Eigen"}));
}

TEST(DiarySession, SaveFailingAtEveryByteKeepsOldFileAndEveryEdit) {
    const std::string original = DiaryBytes({"Vliegen|x|y", "Vallen|x|y"});
    FaultyFileSystem fs;
    fs.files[kPath] = original;
    DiarySession session(fs);
    OpenAndEdit(session);
    StringSink full;
    ASSERT_TRUE(session.File().SaveToSink(full));
    for (std::size_t budget = 0; budget < full.Bytes().size(); ++budget) {
        fs.writeBudget = budget;
        EXPECT_FALSE(session.Save()) << budget;
        EXPECT_EQ(session.LastError(), FileError::DiskFull);
        EXPECT_EQ(fs.files[kPath], original) << budget;
        EXPECT_EQ(fs.files.count(kPath + ".new"), 0u) << budget;
    }
    fs.writeBudget = std::string::npos;
    ASSERT_TRUE(session.Save());
    EXPECT_EQ(fs.files[kPath], full.Bytes());
    EXPECT_EQ(session.File().GetVisibleRecord(1).Head, "Vliegen|1-2-2026|03:00");
}

TEST(DiarySession, FailedCreateOrReplaceTellsWhyAndChangesNothing) {
    const std::string original = DiaryBytes({"Vliegen|x|y"});
    for (FileError why : {FileError::NoPermission, FileError::InUse, FileError::DiskFull}) {
        FaultyFileSystem fs;
        fs.files[kPath] = original;
        DiarySession session(fs);
        OpenAndEdit(session);
        fs.createError = why;
        EXPECT_FALSE(session.Save());
        EXPECT_EQ(session.LastError(), why);
        fs.createError = FileError::None;
        fs.moveError = why;
        EXPECT_FALSE(session.Save());
        EXPECT_EQ(session.LastError(), why);
        EXPECT_EQ(fs.files[kPath], original);
        EXPECT_EQ(fs.files.size(), 1u);
        EXPECT_NE(SaveFailureText(why), SaveFailureText(FileError::Other));
    }
}

TEST(DiarySession, DamagedDiaryIsCopiedAsideVerifiedWithoutReplacingEarlierCopies) {
    std::string damaged = DiaryBytes({"Vliegen|x|y", "Vallen|x|y"});
    damaged.resize(damaged.size() - 3);
    FaultyFileSystem fs;
    fs.files[kPath] = damaged;
    fs.files[kPath + ".beschadigd"] = "eerste";
    fs.files[kPath + ".beschadigd2"] = "tweede";
    DiarySession session(fs);
    ASSERT_EQ(session.Open(kPath), DiaryOpenResult::DamagedCopiedAside);
    EXPECT_EQ(session.DamagedCopy(), kPath + ".beschadigd3");
    EXPECT_EQ(fs.files[kPath + ".beschadigd3"], damaged);
    EXPECT_EQ(fs.files[kPath + ".beschadigd"], "eerste");
    EXPECT_EQ(fs.files[kPath + ".beschadigd2"], "tweede");
    EXPECT_FALSE(session.ReadOnly());
    EXPECT_EQ(session.File().Count(), 1);
}

TEST(DiarySession, DamagedDiaryWithoutAGoodCopyOpensReadOnlyAndIsNeverWritten) {
    std::string lyingCount = DiaryBytes({"Vliegen|x|y", "Vallen|x|y"});
    lyingCount[0] = 1;  // two dreams in the file, one counted: the second would vanish on save
    std::string truncated = DiaryBytes({"Vliegen|x|y"});
    truncated.pop_back();
    struct Case {
        const char* what;
        std::string bytes;
        void (*fault)(FaultyFileSystem&);
    } cases[] = {
        {"copy cannot be made", truncated, [](FaultyFileSystem& fs) { fs.createError = FileError::NoPermission; }},
        {"copy comes up short", truncated, [](FaultyFileSystem& fs) { fs.writeBudget = 5; }},
        {"copy reads back different", lyingCount, [](FaultyFileSystem& fs) { fs.copyComesBackDifferent = true; }},
        {"file cannot be read", DiaryBytes({"Vliegen|x|y"}),
         [](FaultyFileSystem& fs) { fs.readError = FileError::InUse; }},
    };
    for (const Case& c : cases) {
        FaultyFileSystem fs;
        fs.files[kPath] = c.bytes;
        c.fault(fs);
        DiarySession session(fs);
        EXPECT_EQ(session.Open(kPath), DiaryOpenResult::DamagedReadOnly) << c.what;
        EXPECT_TRUE(session.ReadOnly()) << c.what;
        session.File().ShowAll();
        EXPECT_FALSE(session.StoreDream(1, {"Ander", "", "", "", ""})) << c.what;
        fs = FaultyFileSystem{};
        fs.files[kPath] = c.bytes;
        EXPECT_TRUE(session.Save()) << c.what;
        EXPECT_EQ(fs.files.size(), 1u) << c.what;
        EXPECT_EQ(fs.files[kPath], c.bytes) << c.what;
    }
}

TEST(DiarySession, OpenedOnlyToReadNothingIsWrittenNorRemoved) {
    const std::string whole = DiaryBytes({"Vliegen|x|y"});
    for (const std::string& bytes : {whole, whole.substr(0, whole.size() - 1)}) {
        FaultyFileSystem fs;
        fs.files[kPath] = bytes;
        fs.files[kPath + ".new"] = "stale";
        DiarySession session(fs);
        EXPECT_EQ(session.Open(kPath, true),
                  bytes == whole ? DiaryOpenResult::Loaded : DiaryOpenResult::DamagedReadOnly);
        EXPECT_TRUE(session.ReadOnly());
        session.File().ShowAll();
        EXPECT_FALSE(session.StoreDream(1, {"Ander", "", "", "", ""}));
        EXPECT_TRUE(session.Save());
        EXPECT_EQ(fs.files.size(), 2u);
        EXPECT_EQ(fs.files[kPath], bytes);
    }
}

TEST(DiarySession, AStaleNewFileGoesOnlyWhenTheDiaryIsWhole) {
    FaultyFileSystem fs;
    const std::string whole = DiaryBytes({"Vliegen|x|y"});
    fs.files[kPath] = whole;
    fs.files[kPath + ".new"] = whole.substr(0, 7);
    DiarySession session(fs);
    EXPECT_EQ(session.Open(kPath), DiaryOpenResult::Loaded);
    EXPECT_EQ(fs.files.count(kPath + ".new"), 0u);
    fs.files[kPath] = whole.substr(0, whole.size() - 1);
    fs.files[kPath + ".new"] = whole;
    EXPECT_EQ(session.Open(kPath), DiaryOpenResult::DamagedCopiedAside);
    EXPECT_EQ(fs.files[kPath + ".new"], whole);
}

TEST(DiarySession, NewAndEmptyDiariesOpenForWriting) {
    FaultyFileSystem fs;
    DiarySession session(fs);
    EXPECT_EQ(session.Open(kPath), DiaryOpenResult::Loaded);
    fs.files[kPath] = "";
    EXPECT_EQ(session.Open(kPath), DiaryOpenResult::Loaded);
    EXPECT_FALSE(session.ReadOnly());
    ASSERT_TRUE(session.Save());
    EXPECT_EQ(fs.files[kPath], std::string(4, '\0'));
    EXPECT_EQ(session.Name(), "Jan");
}

TEST(DiarySession, EmergencyCopyNeverReplacesAFileAndTellsWhyItFailed) {
    FaultyFileSystem fs;
    fs.files[kPath] = DiaryBytes({"Vliegen|x|y"});
    DiarySession session(fs);
    OpenAndEdit(session);
    const std::string stamp = FileTimeStamp(2026, 12, 8, 9, 5, 1);
    EXPECT_EQ(stamp, "2026-12-08 09.05.01");
    std::string first, second;
    ASSERT_TRUE(session.WriteCopy("Herstel\\", stamp, first));
    ASSERT_TRUE(session.WriteCopy("Herstel\\", stamp, second));
    EXPECT_EQ(first, "Herstel\\Jan 2026-12-08 09.05.01.ddf");
    EXPECT_EQ(second, "Herstel\\Jan 2026-12-08 09.05.01 (2).ddf");
    TDrDiRecFile copy;
    MemorySource source(fs.files[first]);
    ASSERT_TRUE(copy.LoadFromSource(source));
    copy.ShowAll();
    EXPECT_EQ(copy.GetVisibleRecord(1).Description, "Nieuw|tekst");
    fs.writeBudget = 3;
    std::string third;
    EXPECT_FALSE(session.WriteCopy("Herstel\\", stamp, third));
    EXPECT_EQ(session.LastError(), FileError::DiskFull);
    EXPECT_TRUE(third.empty());
    EXPECT_EQ(fs.files.count("Herstel\\Jan 2026-12-08 09.05.01 (3).ddf"), 0u);
}

TEST(DiarySession, RealDiskSaveAndExclusiveCreate) {
    test::ScratchDir dir;
    const std::string path = dir.Path("Piet.ddf");
    DiarySession session;
    ASSERT_EQ(session.Open(path), DiaryOpenResult::Loaded);
    ASSERT_TRUE(session.File().AddRecord(DrDiRec{}));
    ASSERT_TRUE(session.Save());
    EXPECT_FALSE(FileExists(path + ".new"));
    EXPECT_EQ(CreateNewFile(path), nullptr);
    EXPECT_EQ(session.Open(dir.Path("geen/map/Piet.ddf")), DiaryOpenResult::Loaded);
    EXPECT_FALSE(session.Save());
    EXPECT_NE(session.LastError(), FileError::None);
}

}  // namespace
}  // namespace slumra
