#include "data/iDbRecs.h"

#include "data/Files.h"

#include <cmath>
#include <memory>
#include <new>

namespace slumra {

struct TiDbRecFile::iDbRec {
    std::uint32_t Id = 0;
    std::uint16_t HeadLen = 0;
    std::uint16_t TextLen = 0;
    std::unique_ptr<char[]> Head;
    std::unique_ptr<char[]> Text;
    std::uint8_t Visible = 0;
};

void UnscrambleBytes(char* bytes, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<char>(UnscrambleByte(static_cast<unsigned char>(bytes[i])));
}

void SplitPath(const char* source, std::string& first, std::size_t maxFirst, std::string& second,
               std::size_t maxSecond, std::string& third, std::size_t maxThird) {
    first.clear();
    second.clear();
    third.clear();
    if (source == nullptr) return;
    std::string* outs[3] = {&first, &second, &third};
    const std::size_t maxes[3] = {maxFirst, maxSecond, maxThird};
    int part = 0;
    for (const char* p = source; *p != '\0'; ++p) {
        if (*p == '|') {
            if (++part == 3) break;
            continue;
        }
        if (outs[part]->size() < maxes[part]) outs[part]->push_back(*p);
    }
}

void SplitPath(const char* source, std::string& first, std::string& second, std::string& third) {
    SplitPath(source, first, 255, second, 255, third, 255);
}

TiDbRecFile::TiDbRecFile() = default;

TiDbRecFile::~TiDbRecFile() {
    ReleaseAll();
}

void TiDbRecFile::ReleaseAll() {
    for (std::int32_t n = FRecs.Count(); n >= 1; --n) {
        delete static_cast<iDbRec*>(FRecs.GetItem(n));
        FRecs.PutItem(n, nullptr);
        FRecs.Remove(n);
    }
}

TiDbRecFile::iDbRec* TiDbRecFile::RecAt(std::int32_t pos) {
    return static_cast<iDbRec*>(FRecs.GetItem(pos));
}

bool TiDbRecFile::LoadFromFile(const std::string& path, ProgressSink* gauge) {
    ReleaseAll();
    FileSource source(path);
    if (!source.IsOpen()) return false;
    return LoadFromSource(source, gauge);
}

namespace {

// Reads a text of `len` bytes into a new zero-terminated buffer and unscrambles it.
bool ReadText(ByteSource& source, std::uint16_t len, std::unique_ptr<char[]>& out) {
    if (len == 0) return true;
    if (source.Remaining() < len) return false;
    out.reset(new (std::nothrow) char[len + 1u]);
    if (!out) return false;
    if (source.Read(out.get(), len) != len) return false;
    out[len] = '\0';
    UnscrambleBytes(out.get(), len);
    return true;
}

}  // namespace

bool TiDbRecFile::LoadFromSource(ByteSource& source, ProgressSink* gauge) {
    ReleaseAll();
    unsigned char countBytes[4];
    if (source.Read(countBytes, 4) != 4) return false;
    const auto count = static_cast<std::int32_t>(DecodeFixed32(countBytes));

    // Whatever stops the load early (a short read, no memory for a record or its link) makes
    // the result false.
    ProgressRun progress(gauge);
    try {
        for (std::int32_t i = 1; i <= count; ++i) {
            unsigned char fixed[8];
            if (source.Read(fixed, 8) != 8) return false;
            auto rec = std::make_unique<iDbRec>();
            rec->Id = DecodeFixed32(fixed);
            rec->HeadLen = DecodeFixed16(fixed + 4);
            rec->TextLen = DecodeFixed16(fixed + 6);
            if (rec->HeadLen == 0 && rec->TextLen == 0) rec->Id = 0;
            // A length the file cannot hold is a short read, not an allocation.
            if (!ReadText(source, rec->HeadLen, rec->Head) || !ReadText(source, rec->TextLen, rec->Text))
                return false;
            if (!FRecs.Append(rec.get())) return false;
            rec.release();
            if (progress.Active())
                progress.Report(static_cast<int>(std::lrint(static_cast<double>(i) / count * 100.0)));
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void TiDbRecFile::ShowAll() {
    const std::int32_t count = FRecs.Count();
    for (std::int32_t n = 1; n <= count; ++n) RecAt(n)->Visible = 1;
    FCursor.ShowAll(count);
}

std::int32_t TiDbRecFile::VisibleIndexToChain(std::int32_t n) {
    return FCursor.Find(n, FRecs.Count(), [this](std::int32_t pos) { return RecAt(pos)->Visible != 0; });
}

iDbRecInfo TiDbRecFile::GetVisibleRecord(std::int32_t n) {
    iDbRecInfo info;
    const std::int32_t pos = VisibleIndexToChain(n);
    if (pos <= 0) return info;
    const iDbRec* rec = RecAt(pos);
    info.Id = rec->Id;
    info.HeadLen = rec->HeadLen;
    info.TextLen = rec->TextLen;
    info.Head = rec->Head.get();
    info.Text = rec->Text.get();
    info.Visible = rec->Visible;
    return info;
}

}  // namespace slumra
