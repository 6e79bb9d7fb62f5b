// Feeds arbitrary bytes to the table-file engine, as one file and as a structure with its
// data apart, and checks what it promises: no crash, no hang, no read beyond the input, texts
// of at most 255 characters and rows within the table's count.
#include "lang/Tarvelin.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace slumra;

namespace {

void Exercise(TTVObject& tv) {
    const std::int32_t tables = tv.TableCount();
    if (tables != std::max(tv.Header().TableCount, 0)) std::abort();
    for (std::int32_t t = 1; t <= tables && t <= 8; ++t) {
        const TVTable* table = tv.Table(t);
        if (table == nullptr || table->Name.size() > kTVNameMax) std::abort();
        // A later table of the same name is never found; lookups go to the first.
        const std::string name = table->Name;
        const std::int32_t found = tv.FindTable(name);
        if (name.empty() ? found != 0 : found < 1 || found > t || tv.Table(found)->Name != name) std::abort();
        if (found == 0) continue;
        const std::int32_t rows = tv.Table(found)->RowCount;
        const std::int32_t columns = table->ColumnCount;
        for (std::int32_t c = 1; c <= columns && c <= 8; ++c) {
            const std::string column = tv.Column(t, c)->Name();
            (void)tv.GetColumnDef(name, column);
            for (std::int32_t row : {-1, 0, 1, 2, 3, rows, std::min(rows, 2147483646) + 1, 2147483647}) {
                const TVCell cell = tv.ReadCell(name, column, row);
                if (cell.Error > 1) std::abort();
                if (tv.CellText(name, column, row).size() > kTVTextMax) std::abort();
            }
            const std::string first = tv.CellText(name, column, 1);
            for (const std::string& text : {first, std::string(), std::string("1")}) {
                const std::int32_t row = tv.FindRow(name, column, text);
                if (row < 0 || row > std::max(rows, 0)) std::abort();
                if (row > 0 && tv.CellText(name, column, row) != text) std::abort();
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TTVObject tv([] { return std::optional<std::string>("geheim"); });
    if (tv.OpenBytes(bytes, "")) Exercise(tv);
    // The same bytes as a structure, with the data starting at the first table.
    if (size > kTVHeaderSize && tv.OpenBytes(bytes, bytes.substr(kTVHeaderSize), "wachtwoord")) Exercise(tv);
    return 0;
}
