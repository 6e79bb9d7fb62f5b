#include "diary/DrDiRecs.h"

#include "data/Files.h"

#include <cmath>
#include <memory>
#include <new>

namespace slumra {

TDrDiRecFile::TDrDiRecFile() = default;

TDrDiRecFile::~TDrDiRecFile() {
    ReleaseAll();
}

void TDrDiRecFile::ReleaseAll() {
    for (std::int32_t n = FRecs.Count(); n >= 1; --n) {
        delete static_cast<DrDiRec*>(FRecs.GetItem(n));
        FRecs.PutItem(n, nullptr);
        FRecs.Remove(n);
    }
}

DrDiRec* TDrDiRecFile::RecAt(std::int32_t pos) {
    return static_cast<DrDiRec*>(FRecs.GetItem(pos));
}

bool TDrDiRecFile::LoadFromFile(const std::string& path, ProgressSink* gauge) {
    ReleaseAll();
    FileSource source(path);
    if (!source.IsOpen()) return false;
    return LoadFromSource(source, gauge);
}

namespace {

bool ReadMappedText(ByteSource& source, std::uint16_t len, std::string& out) {
    if (len == 0) return true;
    if (source.Remaining() < len) return false;
    out.resize(len);
    if (source.Read(out.data(), len) != len) return false;
    UnscrambleBytes(out.data(), len);
    return true;
}

bool WriteMappedText(ByteSink& sink, const std::string& text) {
    // Mapped into a copy: the texts in memory are never touched by a save.
    std::string mapped(text);
    UnscrambleBytes(mapped.data(), mapped.size());
    return sink.Write(mapped.data(), mapped.size()) == mapped.size();
}

}  // namespace

bool TDrDiRecFile::LoadFromSource(ByteSource& source, ProgressSink* gauge) {
    ReleaseAll();
    unsigned char countBytes[4];
    if (source.Read(countBytes, 4) != 4) return false;
    const auto count = static_cast<std::int32_t>(DecodeFixed32(countBytes));

    // Whatever stops the load early (a short read, no memory for a record or its link) makes
    // the result false: the caller must know the diary in memory is not the whole file.
    ProgressRun progress(gauge);
    try {
        for (std::int32_t i = 1; i <= count; ++i) {
            unsigned char fixed[10];
            if (source.Read(fixed, 10) != 10) return false;
            auto rec = std::make_unique<DrDiRec>();
            rec->Id = static_cast<std::int32_t>(DecodeFixed32(fixed));
            const std::uint16_t headLen = DecodeFixed16(fixed + 4);
            const std::uint16_t descLen = DecodeFixed16(fixed + 6);
            const std::uint16_t explLen = DecodeFixed16(fixed + 8);
            if (headLen == 0 && descLen == 0 && explLen == 0) rec->Id = 0;
            if (!ReadMappedText(source, headLen, rec->Head) ||
                !ReadMappedText(source, descLen, rec->Description) ||
                !ReadMappedText(source, explLen, rec->Explanation))
                return false;
            if (!FRecs.Append(rec.get())) return false;
            rec.release();
            progress.Report(static_cast<int>(static_cast<std::int64_t>(i) * 100 / count));
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool TDrDiRecFile::SaveToSink(ByteSink& sink, ProgressSink* gauge) {
    unsigned char fixed[10];
    EncodeFixed32(fixed, static_cast<std::uint32_t>(FRecs.Count()));
    if (sink.Write(fixed, 4) != 4) return false;
    ProgressRun progress(gauge);
    const std::int32_t count = FRecs.Count();
    for (std::int32_t pos = 1; pos <= count; ++pos) {
        if (pos % 4096 == 0) progress.Report(static_cast<int>(std::int64_t{pos} * 100 / count));
        const DrDiRec* rec = RecAt(pos);
        if (rec->Head.size() > kMaxDiaryText || rec->Description.size() > kMaxDiaryText ||
            rec->Explanation.size() > kMaxDiaryText)
            return false;
        EncodeFixed32(fixed, static_cast<std::uint32_t>(rec->Id));
        EncodeFixed16(fixed + 4, rec->HeadLen());
        EncodeFixed16(fixed + 6, rec->DescriptionLen());
        EncodeFixed16(fixed + 8, rec->ExplanationLen());
        if (sink.Write(fixed, 10) != 10) return false;
        if (!WriteMappedText(sink, rec->Head) || !WriteMappedText(sink, rec->Description) ||
            !WriteMappedText(sink, rec->Explanation))
            return false;
    }
    return true;
}

bool TDrDiRecFile::SaveToFileSink(WritableFile& file, FileError* why, ProgressSink* gauge) {
    bool ok = SaveToSink(file, gauge) && file.Flush();
    ok = file.Close() && ok;
    if (!ok && why != nullptr) *why = file.Error() != FileError::None ? file.Error() : FileError::Other;
    return ok;
}

bool TDrDiRecFile::SaveToFile(const std::string& path, FileSystem& fs, FileError* why, ProgressSink* gauge) {
    return WriteFileReplacing(
        fs, path, [this, gauge](WritableFile& file, FileError& error) { return SaveToFileSink(file, &error, gauge); },
        why);
}

void TDrDiRecFile::ShowAll() {
    const std::int32_t count = FRecs.Count();
    for (std::int32_t n = 1; n <= count; ++n) RecAt(n)->Visible = 1;
    FCursor.ShowAll(count);
}

std::int32_t TDrDiRecFile::VisibleIndexToChain(std::int32_t n) {
    return FCursor.Find(n, FRecs.Count(), [this](std::int32_t pos) { return RecAt(pos)->Visible != 0; });
}

DrDiRec TDrDiRecFile::GetVisibleRecord(std::int32_t n) {
    const std::int32_t pos = VisibleIndexToChain(n);
    if (pos <= 0) return {};
    return *RecAt(pos);
}

bool TDrDiRecFile::SetVisibleRecord(std::int32_t n, const DrDiRec& rec) {
    const std::int32_t pos = VisibleIndexToChain(n);
    if (pos <= 0) return false;
    *RecAt(pos) = rec;
    return true;
}

bool TDrDiRecFile::AddRecord(const DrDiRec& rec) {
    auto added = std::unique_ptr<DrDiRec>(new (std::nothrow) DrDiRec(rec));
    if (!added) return false;
    const DrDiRec* last = FRecs.Count() > 0 ? RecAt(FRecs.Count()) : nullptr;
    // Unsigned arithmetic: a stored Id may be anything, and the successor of the largest wraps.
    added->Id = last != nullptr ? static_cast<std::int32_t>(static_cast<std::uint32_t>(last->Id) + 1u) : 1;
    if (!FRecs.Append(added.get())) return false;
    added.release();
    return true;
}

void TDrDiRecFile::ForEachVisible(const std::function<void(std::int32_t, const DrDiRec&)>& each) {
    std::int32_t n = 0;
    for (std::int32_t pos = 1; pos <= FRecs.Count(); ++pos) {
        const DrDiRec* rec = RecAt(pos);
        if (rec->Visible != 0) each(++n, *rec);
    }
}

bool TDrDiRecFile::DeleteVisibleRecord(std::int32_t n) {
    const std::int32_t pos = VisibleIndexToChain(n);
    if (pos <= 0) return false;
    delete RecAt(pos);
    FRecs.PutItem(pos, nullptr);
    return FRecs.Remove(pos);
}

}  // namespace slumra
