// TDrDiRecFile: one dream diary in memory, read whole from and written whole to a .ddf file.
#pragma once

#include "data/Chains.h"
#include "data/Coding.h"
#include "data/Files.h"
#include "data/VisibleIndex.h"
#include "data/iDbRecs.h"

#include <cstdint>
#include <functional>
#include <string>

namespace slumra {

// One dream. Head is the name, the date text and the time text joined by "|".
struct DrDiRec {
    std::int32_t Id = 0;
    std::string Head;
    std::string Description;
    std::string Explanation;
    std::uint8_t Visible = 0;

    std::uint16_t HeadLen() const { return static_cast<std::uint16_t>(Head.size()); }
    std::uint16_t DescriptionLen() const { return static_cast<std::uint16_t>(Description.size()); }
    std::uint16_t ExplanationLen() const { return static_cast<std::uint16_t>(Explanation.size()); }
};

// Longest text the file format can hold.
inline constexpr std::size_t kMaxDiaryText = 65535;

/*
 * A diary file (.ddf), all integers little-endian, no padding, no magic or version:
 *   offset 0   4 bytes   record count, signed 32-bit
 *   offset 4   records in chain order, each:
 *     +0       4 bytes   Id, signed 32-bit
 *     +4       2 bytes   HeadLen, unsigned 16-bit
 *     +6       2 bytes   DescriptionLen, unsigned 16-bit
 *     +8       2 bytes   ExplanationLen, unsigned 16-bit
 *     +10      Head, Description, Explanation bytes, each mapped by UnscrambleByte
 * The Visible mark is not stored. A record whose three lengths are 0 reads with Id 0.
 */
class TDrDiRecFile {
public:
    TDrDiRecFile();
    ~TDrDiRecFile();
    TDrDiRecFile(const TDrDiRecFile&) = delete;
    TDrDiRecFile& operator=(const TDrDiRecFile&) = delete;

    // Replaces the contents with the file's records (all unmarked). True when the count was
    // read and no later read came up short; records before a damaged one stay loaded. A file
    // that cannot be opened leaves an empty diary.
    bool LoadFromFile(const std::string& path, ProgressSink* gauge = nullptr);
    bool LoadFromSource(ByteSource& source, ProgressSink* gauge = nullptr);

    // Writes the diary to a new file beside `path`, flushes it and only then replaces `path`
    // with it: a failed save returns false (the reason in *why) and leaves the old file as it was.
    [[nodiscard]] bool SaveToFile(const std::string& path, FileSystem& fs = RealFileSystem(),
                                  FileError* why = nullptr, ProgressSink* gauge = nullptr);
    // Writes every record to `file`, flushes and closes it; false with the reason in *why.
    [[nodiscard]] bool SaveToFileSink(WritableFile& file, FileError* why = nullptr, ProgressSink* gauge = nullptr);
    [[nodiscard]] bool SaveToSink(ByteSink& sink, ProgressSink* gauge = nullptr);

    void ShowAll();
    std::int32_t VisibleIndexToChain(std::int32_t n);
    // A copy of the n-th visible record, or an all-zero record.
    DrDiRec GetVisibleRecord(std::int32_t n);
    // Overwrites every field (Id included) of the n-th visible record; false when there is none.
    bool SetVisibleRecord(std::int32_t n, const DrDiRec& rec);
    // Appends a copy of rec with Id = the last record's Id + 1 (1 for an empty diary).
    [[nodiscard]] bool AddRecord(const DrDiRec& rec);
    bool DeleteVisibleRecord(std::int32_t n);
    // Calls each(n, dream) for every visible dream in order, n its visible number, without
    // moving the cursor: CursorIndex() still names the dream fetched last.
    void ForEachVisible(const std::function<void(std::int32_t, const DrDiRec&)>& each);

    std::int32_t Count() const { return FRecs.Count(); }
    std::int32_t VisibleCount() const { return FCursor.VisibleCount; }
    // The visible number of the dream fetched last (0: none yet).
    std::int32_t CursorIndex() const { return FCursor.CursorIndex; }

private:
    void ReleaseAll();
    DrDiRec* RecAt(std::int32_t pos);

    TPointerChain FRecs{"DrDiRecs"};
    VisibleCursor FCursor;
};

}  // namespace slumra
