// Feeds arbitrary bytes to both record-file readers and checks what every reader promises:
// no crash, no read beyond the input, records that are consistent with their lengths, and a
// diary that writes back to something that reads again as the same dreams.
#include "data/Coding.h"
#include "data/Index.h"
#include "data/iDbRecs.h"
#include "diary/DrDiRecs.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace slumra;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    {
        TiDbRecFile db;
        MemorySource source(bytes);
        const bool complete = db.LoadFromSource(source);
        db.ShowAll();
        for (std::int32_t n = 1; n <= db.VisibleCount(); ++n) {
            const iDbRecInfo rec = db.GetVisibleRecord(n);
            if ((rec.Head == nullptr) != (rec.HeadLen == 0) || (rec.Text == nullptr) != (rec.TextLen == 0))
                std::abort();
        }
        std::vector<std::string> outline, index;
        BuildIndexLists(db, outline, index);
        if (index.size() >= 2) SortIndex(index, 0, static_cast<int>(index.size()) - 1);
        // The compact lists hold and sort the same items.
        TIndexLists lists;
        BuildIndexLists(db, lists);
        lists.SortIndex(0, static_cast<int>(lists.IndexCount()) - 1);
        if (lists.OutlineStrings() != outline || lists.IndexStrings() != index) std::abort();
        (void)complete;
    }
    {
        TDrDiRecFile diary;
        MemorySource source(bytes);
        const bool complete = diary.LoadFromSource(source);
        StringSink sink;
        if (!diary.SaveToSink(sink)) std::abort();
        // What was read writes back and reads again as the same dreams, in the same order.
        TDrDiRecFile again;
        MemorySource back(sink.Bytes());
        if (!again.LoadFromSource(back) || again.Count() != diary.Count()) std::abort();
        diary.ShowAll();
        again.ShowAll();
        for (std::int32_t n = 1; n <= diary.Count(); ++n) {
            const DrDiRec a = diary.GetVisibleRecord(n), b = again.GetVisibleRecord(n);
            if (a.Id != b.Id || a.Head != b.Head || a.Description != b.Description ||
                a.Explanation != b.Explanation)
                std::abort();
        }
        (void)complete;
    }
    return 0;
}
