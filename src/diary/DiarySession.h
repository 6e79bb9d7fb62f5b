// DiarySession: the one open diary, from opening its file to the last save. It makes sure that
// nothing the user wrote is lost: a diary that could not be read whole is never written over
// unless a verified copy of the original lies beside it, and a failed save changes nothing on
// disk and keeps every edit in memory.
#pragma once

#include "data/Files.h"
#include "diary/DrDiRecs.h"

#include <memory>
#include <string>

namespace slumra {

enum class DiaryOpenResult {
    Loaded,              // read whole (or a new, empty diary)
    DamagedCopiedAside,  // not read whole; the original is kept as DamagedCopy()
    DamagedReadOnly,     // not read whole and no copy could be made: it is never written
};

// The fields of a dream as the editors hold them.
struct DreamFields {
    std::string Name;
    std::string Date;
    std::string Time;
    std::string Description;
    std::string Explanation;
};

class DiarySession {
public:
    explicit DiarySession(FileSystem& fs = RealFileSystem()) : FFs(fs) {}

    // Reads the diary at `path` (Windows-1252), replacing what was open. With `readOnly` it is
    // only read: nothing is ever written to it or beside it. `gauge` hears how far the reading is.
    DiaryOpenResult Open(const std::string& path, bool readOnly = false, ProgressSink* gauge = nullptr);
    bool IsOpen() const { return FFile != nullptr; }
    bool ReadOnly() const { return FReadOnly; }
    const std::string& Path() const { return FPath; }
    // The diary's name: the file name before its first ".".
    std::string Name() const { return NameOf(FPath); }
    static std::string NameOf(const std::string& path);
    // The full path of the copy of a damaged original, when one was made.
    const std::string& DamagedCopy() const { return FDamagedCopy; }
    // Why the last open could not copy a damaged original, or the last save or copy failed.
    FileError LastError() const { return FLastError; }

    TDrDiRecFile& File() { return *FFile; }

    // Stores the editors' fields into the n-th visible dream. "|" would shift the fields of the
    // head, so it is taken out of the date and time. False for a read-only diary or no such dream.
    bool StoreDream(std::int32_t n, const DreamFields& fields);

    // Writes the whole diary to its file through a new file beside it; the old file is replaced
    // only by a complete, flushed one. A read-only diary is not written (and that is no failure:
    // nothing in it could be changed). False with LastError() telling why.
    [[nodiscard]] bool Save(ProgressSink* gauge = nullptr);
    // Writes the whole diary to a new file in `folder` named "<name> <stamp>.ddf" (or with
    // " (2)", " (3)" … when that exists); `written` gets its full path. False with LastError().
    [[nodiscard]] bool WriteCopy(const std::string& folder, const std::string& stamp, std::string& written);

    void Close();

private:
    bool CopyAside(const std::string& original);

    FileSystem& FFs;
    std::unique_ptr<TDrDiRecFile> FFile;
    std::string FPath;
    std::string FDamagedCopy;
    bool FReadOnly = false;
    FileError FLastError = FileError::None;
};

// One plain Dutch sentence that a diary could not be saved, and why.
std::string SaveFailureText(FileError error);

// "2026-12-08 14.05.09": a time stamp that every file system takes in a name.
std::string FileTimeStamp(int year, int month, int day, int hour, int minute, int second);

}  // namespace slumra
