// TiDbRecFile: the interpretation database, read whole from D\iDbRecs.dat and kept in memory.
#pragma once

#include "data/Chains.h"
#include "data/Coding.h"
#include "data/VisibleIndex.h"

#include <cstdint>
#include <memory>
#include <string>

namespace slumra {

// Receives the loading progress as a whole percentage, 0..100.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void Begin() {}
    virtual void Progress(int percent) = 0;
    virtual void End() {}
};

// Tells a progress sink about a run of steps: Begin and 0 at the start, each new percentage
// once, End when the run is over (also after an early stop).
class ProgressRun {
public:
    explicit ProgressRun(ProgressSink* sink) : FSink(sink) {
        if (FSink != nullptr) {
            FSink->Begin();
            FSink->Progress(0);
        }
    }
    ~ProgressRun() {
        if (FSink != nullptr) FSink->End();
    }
    ProgressRun(const ProgressRun&) = delete;
    ProgressRun& operator=(const ProgressRun&) = delete;
    void Report(int percent) {
        if (FSink != nullptr && percent != FShown) {
            FShown = percent;
            FSink->Progress(percent);
        }
    }
    bool Active() const { return FSink != nullptr; }

private:
    ProgressSink* FSink;
    int FShown = 0;
};

// The stored form of every text byte of both record files: 1..127 and 128..254 exchanged,
// 0 and 255 kept. The map is its own inverse.
inline unsigned char UnscrambleByte(unsigned char b) {
    if (b >= 1 && b <= 127) return static_cast<unsigned char>(b + 127);
    if (b >= 128 && b <= 254) return static_cast<unsigned char>(b - 127);
    return b;
}

void UnscrambleBytes(char* bytes, std::size_t n);

// A copy of one record's fields. Head and Text stay owned by the record file and are valid
// until its next load or its destruction; null when the length is 0.
struct iDbRecInfo {
    std::uint32_t Id = 0;
    std::uint16_t HeadLen = 0;
    std::uint16_t TextLen = 0;
    const char* Head = nullptr;
    const char* Text = nullptr;
    std::uint8_t Visible = 0;
};

// Cuts "first|second|third" into its three parts, each cut to its maximum length. Text after a
// third "|" is ignored; a null source leaves all three empty.
void SplitPath(const char* source, std::string& first, std::size_t maxFirst, std::string& second,
               std::size_t maxSecond, std::string& third, std::size_t maxThird);
void SplitPath(const char* source, std::string& first, std::string& second, std::string& third);

/*
 * D\iDbRecs.dat, all integers little-endian, no magic or version:
 *   offset 0   4 bytes   record count, signed 32-bit
 *   offset 4   records back to back, each:
 *              4 bytes   Id, unsigned 32-bit
 *              2 bytes   HeadLen, unsigned 16-bit
 *              2 bytes   TextLen, unsigned 16-bit
 *              HeadLen   Head, scrambled (UnscrambleByte), no terminator
 *              TextLen   Text, scrambled, no terminator
 * Head is the path "category|subcategory|symbol"; Text the interpretation, lines split by CR LF.
 */
class TiDbRecFile {
public:
    TiDbRecFile();
    ~TiDbRecFile();
    TiDbRecFile(const TiDbRecFile&) = delete;
    TiDbRecFile& operator=(const TiDbRecFile&) = delete;

    // Replaces the contents with the file's records. True when the count was read and no later
    // read came up short; the records before a damaged one stay loaded either way. The gauge
    // hears about every change of the percentage, never more often.
    bool LoadFromFile(const std::string& path, ProgressSink* gauge = nullptr);
    bool LoadFromSource(ByteSource& source, ProgressSink* gauge = nullptr);

    void ShowAll();
    // The n-th visible record (1-based), or the all-zero info.
    iDbRecInfo GetVisibleRecord(std::int32_t n);
    // Chain position of the n-th visible record, or 0.
    std::int32_t VisibleIndexToChain(std::int32_t n);

    std::int32_t RecordCount() const { return FRecs.Count(); }
    std::int32_t VisibleCount() const { return FCursor.VisibleCount; }
    // The visible number of the record fetched last (0: none yet).
    std::int32_t CursorIndex() const { return FCursor.CursorIndex; }

private:
    struct iDbRec;
    struct FreeBlock {
        void operator()(char* p) const;
    };
    void ReleaseAll();
    iDbRec* RecAt(std::int32_t pos);

    // The file is read in one piece; its texts, unscrambled and each followed by a zero, stay
    // in that one block, and the records (from one array) point into it.
    std::unique_ptr<char[], FreeBlock> FBlock;
    std::unique_ptr<iDbRec[]> FRecArray;
    TPointerChain FRecs{"iDbRecs"};
    VisibleCursor FCursor;
    bool FAllVisible = false;  // set by ShowAll, until the next load
};

}  // namespace slumra
