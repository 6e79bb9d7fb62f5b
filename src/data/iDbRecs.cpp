#include "data/iDbRecs.h"

#include "data/Files.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

namespace slumra {

// 16 bytes a record: the texts live in the file object's block, the text right behind the
// head's terminating zero.
struct TiDbRecFile::iDbRec {
    std::uint32_t Id;
    std::uint32_t Head;  // offset in the block
    std::uint16_t HeadLen;
    std::uint16_t TextLen;
    std::uint8_t Visible;
};

void TiDbRecFile::FreeBlock::operator()(char* p) const {
    std::free(p);
}

void UnscrambleBytes(char* bytes, std::size_t n) {
    std::size_t i = 0;
#if defined(__SSE2__) || defined(__ARM_NEON) || defined(__x86_64__)
    // Sixteen bytes at a time: 1..127 up by 127, 128..254 down by 127.
    using Bytes16 = unsigned char __attribute__((vector_size(16)));
    for (; i + 16 <= n; i += 16) {
        Bytes16 v;
        std::memcpy(&v, bytes + i, 16);
        const Bytes16 low = (v >= 1) & (v <= 127);
        const Bytes16 high = (v >= 128) & (v <= 254);
        v = v + (low & 127) - (high & 127);
        std::memcpy(bytes + i, &v, 16);
    }
#else
    // Without vector registers the compiler would take every lane apart: a table is
    // several times faster there.
    static const auto kMap = [] {
        std::array<unsigned char, 256> map{};
        for (int b = 0; b < 256; ++b) map[static_cast<std::size_t>(b)] = UnscrambleByte(static_cast<unsigned char>(b));
        return map;
    }();
    for (; i < n; ++i) bytes[i] = static_cast<char>(kMap[static_cast<unsigned char>(bytes[i])]);
#endif
    for (; i < n; ++i) bytes[i] = static_cast<char>(UnscrambleByte(static_cast<unsigned char>(bytes[i])));
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
    FAllVisible = false;
    FRecs.Clear();
    FRecArray.reset();
    FBlock.reset();
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

struct Freed {
    void operator()(char* p) const { std::free(p); }
};

// Everything the source still holds, in one malloc'ed block (null when empty or out of
// memory); `size` says how much arrived, `ok` whether memory ran out.
std::unique_ptr<char[], Freed> ReadRest(ByteSource& source, std::size_t& size, bool& ok) {
    size = 0;
    ok = true;
    std::size_t capacity = source.Remaining();
    const bool known = capacity != ByteSource::kUnknown;
    if (!known) capacity = 65536;
    std::unique_ptr<char[], Freed> block;
    for (;;) {
        if (capacity == 0) return block;
        if (size == capacity || !block) {
            if (size == capacity) capacity *= 2;
            char* grown = static_cast<char*>(std::realloc(block.get(), capacity));
            if (grown == nullptr) {
                ok = false;
                return block;
            }
            (void)block.release();
            block.reset(grown);
        }
        const std::size_t got = source.Read(block.get() + size, capacity - size);
        size += got;
        if (got == 0 || (known && size == capacity)) return block;
    }
}

}  // namespace

bool TiDbRecFile::LoadFromSource(ByteSource& source, ProgressSink* gauge) {
    ReleaseAll();
    unsigned char countBytes[4];
    if (source.Read(countBytes, 4) != 4) return false;
    const auto count = static_cast<std::int32_t>(DecodeFixed32(countBytes));

    // Whatever stops the load early (a short read, no memory) makes the result false.
    ProgressRun progress(gauge);
    if (count <= 0) return true;
    std::size_t size = 0;
    bool ok = true;
    std::unique_ptr<char[], Freed> block = ReadRest(source, size, ok);
    if (!ok) return false;
    // Offsets into the block are 32-bit; a file that large cannot be a record file anyway.
    size = static_cast<std::size_t>(std::min<std::uint64_t>(size, UINT32_MAX));

    // Every record takes at least its 8 fixed bytes, which bounds the records to expect.
    const std::size_t most = std::min<std::size_t>(static_cast<std::size_t>(count), size / 8);
    std::unique_ptr<iDbRec[]> recs(new (std::nothrow) iDbRec[std::max<std::size_t>(most, 1)]);
    if (!recs) return false;
    try {
        FRecs.Reserve(static_cast<std::int32_t>(most));
    } catch (const std::bad_alloc&) {
        return false;
    }

    // The whole block is unscrambled at once; the fixed fields, which are stored plain, are
    // scrambled back before decoding (the map is its own inverse). Each text is then moved
    // down over the fixed fields before it, which makes room for its terminating zero.
    char* const bytes = block.get();
    UnscrambleBytes(bytes, size);
    std::size_t r = 0;
    std::size_t w = 0;
    bool result = true;
    std::int32_t loaded = 0;
    for (std::int32_t i = 1; i <= count; ++i) {
        if (size - r < 8) {
            result = false;
            break;
        }
        unsigned char fixed[8];
        for (int k = 0; k < 8; ++k) fixed[k] = UnscrambleByte(static_cast<unsigned char>(bytes[r + k]));
        r += 8;
        iDbRec& rec = recs[static_cast<std::size_t>(loaded)];
        rec.Id = DecodeFixed32(fixed);
        rec.HeadLen = DecodeFixed16(fixed + 4);
        rec.TextLen = DecodeFixed16(fixed + 6);
        rec.Visible = 0;
        if (rec.HeadLen == 0 && rec.TextLen == 0) rec.Id = 0;
        if (size - r < static_cast<std::size_t>(rec.HeadLen) + rec.TextLen) {
            result = false;
            break;
        }
        rec.Head = static_cast<std::uint32_t>(w);
        for (const std::uint16_t len : {rec.HeadLen, rec.TextLen}) {
            if (len == 0) continue;
            std::memmove(bytes + w, bytes + r, len);
            w += len;
            r += len;
            bytes[w++] = '\0';
        }
        if (!FRecs.Append(&rec)) {
            result = false;
            break;
        }
        ++loaded;
        if (progress.Active())
            progress.Report(static_cast<int>(std::lrint(static_cast<double>(i) / count * 100.0)));
    }
    // Give back what the fixed fields and any damaged rest took.
    if (w > 0 && w < size) {
        if (char* shrunk = static_cast<char*>(std::realloc(block.get(), w)); shrunk != nullptr) {
            (void)block.release();
            block.reset(shrunk);
        }
    }
    FBlock.reset(block.release());
    FRecArray = std::move(recs);
    return result;
}

void TiDbRecFile::ShowAll() {
    const std::int32_t count = FRecs.Count();
    for (std::int32_t n = 1; n <= count; ++n) FRecArray[static_cast<std::size_t>(n - 1)].Visible = 1;
    FCursor.ShowAll(count);
    FAllVisible = count > 0;
}

std::int32_t TiDbRecFile::VisibleIndexToChain(std::int32_t n) {
    // With every record visible the n-th visible record is the n-th of the chain; the answer
    // is remembered as the walk would remember it.
    if (FAllVisible) {
        if (n < 1 || n > FRecs.Count()) return 0;
        FCursor.CursorIndex = FCursor.CursorPos = n;
        return n;
    }
    return FCursor.Find(n, FRecs.Count(), [this](std::int32_t pos) { return RecAt(pos)->Visible != 0; });
}

iDbRecInfo TiDbRecFile::GetVisibleRecord(std::int32_t n) {
    iDbRecInfo info;
    const std::int32_t pos = VisibleIndexToChain(n);
    if (pos <= 0) return info;
    // The chain holds the records of the array in array order.
    const iDbRec* rec = &FRecArray[static_cast<std::size_t>(pos - 1)];
    info.Id = rec->Id;
    info.HeadLen = rec->HeadLen;
    info.TextLen = rec->TextLen;
    const char* head = FBlock.get() + rec->Head;
    if (rec->HeadLen > 0) info.Head = head;
    if (rec->TextLen > 0) info.Text = rec->HeadLen > 0 ? head + rec->HeadLen + 1 : head;
    info.Visible = rec->Visible;
    return info;
}

}  // namespace slumra
