#include "lang/Tarvelin.h"

#include "data/Files.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

namespace slumra {

namespace {

constexpr unsigned char kMagic[9] = {8, 'T', 'a', 'r', 'v', 'e', 'l', 'i', 'n'};

// Links inside links are followed this deep; a deeper links cell reads as an empty text. Files
// can point a links column at itself, which would otherwise recurse without end.
constexpr int kMaxLinkDepth = 8;
// Cells one text form may read, links included: a fan of links cells pointing at links cells
// must not turn one lookup into millions of reads.
constexpr int kMaxTextReads = 1024;

// First day number past 9999-12-31 (day 1 is 0001-01-01).
constexpr double kDayAfterLast = 3652060.0;

float DecodeFloat32(const unsigned char* p) {
    return std::bit_cast<float>(DecodeFixed32(p));
}

std::uint64_t DecodeFixed64(const unsigned char* p) {
    return static_cast<std::uint64_t>(DecodeFixed32(p)) |
           (static_cast<std::uint64_t>(DecodeFixed32(p + 4)) << 32);
}

// A short string in a field of 1 + max bytes. A length byte above max is damage: the text is
// cut to the field rather than read out of it.
std::string FieldString(const unsigned char* field, std::size_t max) {
    const std::size_t len = std::min<std::size_t>(field[0], max);
    return std::string(reinterpret_cast<const char*>(field + 1), len);
}

std::string_view Cut(std::string_view text, std::size_t max) {
    return text.substr(0, std::min(text.size(), max));
}

// The 80-bit extended format: 64-bit mantissa with an explicit integer bit, then 15 bits of
// exponent (bias 16383) and the sign.
long double DecodeExtended(const unsigned char* p) {
    const std::uint64_t mantissa = DecodeFixed64(p);
    const unsigned top = DecodeFixed16(p + 8);
    const bool negative = (top & 0x8000u) != 0;
    const int exponent = static_cast<int>(top & 0x7FFFu);
    long double v;
    if (exponent == 0x7FFF) {
        v = (mantissa << 1) == 0 ? std::numeric_limits<long double>::infinity()
                                 : std::numeric_limits<long double>::quiet_NaN();
    } else {
        v = std::ldexp(static_cast<long double>(mantissa), (exponent == 0 ? 1 : exponent) - 16383 - 63);
    }
    return negative ? -v : v;
}

// The 6-byte real: exponent byte (bias 129, 0 means zero), then 39 bits of mantissa with a
// hidden leading 1, then the sign as the top bit of the last byte.
double DecodeReal48(const unsigned char* p) {
    if (p[0] == 0) return 0.0;
    const std::uint64_t mantissa =
        static_cast<std::uint64_t>(DecodeFixed32(p + 1)) | (static_cast<std::uint64_t>(p[5] & 0x7F) << 32);
    const double v = std::ldexp(1.0 + std::ldexp(static_cast<double>(mantissa), -39), p[0] - 129);
    return (p[5] & 0x80) != 0 ? -v : v;
}

std::string ApplyNumberStyle(std::string text, std::uint8_t style) {
    if (style == 1) {
        const std::size_t dot = text.find('.');
        if (dot != std::string::npos) text[dot] = ',';
    } else if (style == 2) {
        text += '%';
    }
    return text;
}

std::string NumberText(long double v, int decimals, std::uint8_t style) {
    std::string text;
    if (std::isnan(v)) {
        text = "NAN";
    } else if (std::isinf(v)) {
        text = v < 0 ? "-INF" : "INF";
    } else {
        // Room for the largest extended value written out in full with 255 decimals.
        std::string buffer(std::numeric_limits<long double>::max_exponent10 + 300, '\0');
        const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), v,
                                          std::chars_format::fixed, decimals);
        if (result.ec == std::errc()) text.assign(buffer.data(), result.ptr);
    }
    return ApplyNumberStyle(std::move(text), style);
}

std::string NumberText(std::int64_t v, int decimals, std::uint8_t style) {
    std::string text = std::to_string(v);
    if (decimals > 0) text += "." + std::string(static_cast<std::size_t>(decimals), '0');
    return ApplyNumberStyle(std::move(text), style);
}

// Days since 1970-01-01 to a proleptic Gregorian date.
void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

std::string TwoDigits(int v) {
    std::string text = std::to_string(v);
    return text.size() < 2 ? "0" + text : text;
}

void SetEmptyValue(TVCell& cell, std::uint8_t type) {
    cell.Value.fill(0);
    if (type == static_cast<std::uint8_t>(TVType::DateTime)) {
        const auto one = std::bit_cast<std::uint64_t>(1.0);
        EncodeFixed32(&cell.Value[0], static_cast<std::uint32_t>(one));
        EncodeFixed32(&cell.Value[4], static_cast<std::uint32_t>(one >> 32));
    }
}

class MemoryDataSource final : public TVDataSource {
public:
    explicit MemoryDataSource(std::string_view bytes) : FBytes(bytes) {}
    const std::string& Bytes() const { return FBytes; }
    std::uint64_t Size() const override { return FBytes.size(); }
    std::size_t ReadAt(std::uint64_t offset, void* dst, std::size_t n) override {
        if (offset >= FBytes.size()) return 0;
        const auto at = static_cast<std::size_t>(offset);
        const std::size_t take = std::min(n, FBytes.size() - at);
        std::memcpy(dst, FBytes.data() + at, take);
        return take;
    }

private:
    std::string FBytes;
};

class FileDataSource final : public TVDataSource {
public:
    static std::unique_ptr<FileDataSource> Open(const std::string& path) {
        std::FILE* file = OpenFile(path, "rb");
        if (file == nullptr) return nullptr;
        auto source = std::unique_ptr<FileDataSource>(new (std::nothrow) FileDataSource(file));
        if (!source) {
            std::fclose(file);
            return nullptr;
        }
        if (!source->Seek(0, SEEK_END)) return nullptr;
        const std::int64_t size = source->Tell();
        if (size < 0) return nullptr;
        source->FSize = static_cast<std::uint64_t>(size);
        return source;
    }
    ~FileDataSource() override { std::fclose(FFile); }
    FileDataSource(const FileDataSource&) = delete;
    FileDataSource& operator=(const FileDataSource&) = delete;

    std::uint64_t Size() const override { return FSize; }
    std::size_t ReadAt(std::uint64_t offset, void* dst, std::size_t n) override {
        if (offset >= FSize || !Seek(static_cast<std::int64_t>(offset), SEEK_SET)) return 0;
        return std::fread(dst, 1, n, FFile);
    }

private:
    explicit FileDataSource(std::FILE* file) : FFile(file) {}
    bool Seek(std::int64_t offset, int whence) {
#ifdef _WIN32
        return _fseeki64(FFile, offset, whence) == 0;
#else
        return fseeko(FFile, static_cast<off_t>(offset), whence) == 0;
#endif
    }
    std::int64_t Tell() {
#ifdef _WIN32
        return _ftelli64(FFile);
#else
        return static_cast<std::int64_t>(ftello(FFile));
#endif
    }

    std::FILE* FFile;
    std::uint64_t FSize = 0;
};

}  // namespace

TVHeader TVHeader::Fresh() {
    TVHeader header;
    for (std::size_t k = 0; k < kTVCheckCount; ++k) {
        const auto i = static_cast<float>(k + 2);
        header.Checks[k] = i * i;
    }
    return header;
}

std::string TVColumn::Name() const {
    return FieldString(&Bytes[5], kTVNameMax);
}

std::int64_t TVColumn::Width() const {
    switch (static_cast<TVType>(TypeCode())) {
        case TVType::Boolean:
        case TVType::Byte:
        case TVType::ShortInt:
            return 1;
        case TVType::Word:
            return 2;
        case TVType::Integer:
        case TVType::Integer6:
        case TVType::Integer7:
        case TVType::Single:
            return 4;
        case TVType::Real48:
            return 6;
        case TVType::Int64:
        case TVType::DateTime:
        case TVType::Double:
            return 8;
        case TVType::Extended:
            return 10;
        case TVType::String:
            return StringWidth();
        case TVType::Links:
            return 4 * std::int64_t{LinkEntries()};
    }
    return 0;
}

TVTable::~TVTable() {
    for (std::int32_t n = 1; n <= Columns.Count(); ++n) delete static_cast<TVColumn*>(Columns.GetItem(n));
}

std::string CellString(const TVCell& cell) {
    const auto* begin = reinterpret_cast<const char*>(cell.Value.data());
    return std::string(begin, std::find(begin, begin + cell.Value.size(), '\0'));
}

bool CheckPasswordValues(const TVHeader& header, std::string_view password) {
    password = Cut(password, kTVNameMax);
    for (std::size_t i = 2; i <= kTVCheckCount + 1; ++i) {
        const std::size_t factor = password.size() < i ? i : static_cast<unsigned char>(password[i - 1]);
        if (header.Checks[i - 2] != static_cast<float>(i * factor)) return false;
    }
    return true;
}

std::string DutchDateForm(const TVDateTime& moment, TVDateForm form) {
    static const char* const kDays[] = {"maandag", "dinsdag",  "woensdag", "donderdag",
                                        "vrijdag", "zaterdag", "zondag"};
    static const char* const kMonths[] = {"januari",   "februari", "maart",    "april",
                                          "mei",       "juni",     "juli",     "augustus",
                                          "september", "oktober",  "november", "december"};
    std::string year = std::to_string(moment.Year);
    if (year.size() < 4) year.insert(0, 4 - year.size(), '0');
    switch (form) {
        case TVDateForm::ShortDate:
            return std::to_string(moment.Day) + "-" + std::to_string(moment.Month) + "-" + year;
        case TVDateForm::LongDate:
            return std::string(kDays[(moment.DayOfWeek + 6) % 7]) + " " + std::to_string(moment.Day) + " " +
                   kMonths[(moment.Month + 11) % 12] + " " + year;
        case TVDateForm::ShortTime:
            return TwoDigits(moment.Hour) + ":" + TwoDigits(moment.Minute);
        case TVDateForm::LongTime:
            return TwoDigits(moment.Hour) + ":" + TwoDigits(moment.Minute) + ":" + TwoDigits(moment.Second);
    }
    return {};
}

struct TTVObject::TextBudget {
    int Reads = kMaxTextReads;
    int Depth = 0;
};

TTVObject::~TTVObject() {
    Close();
}

void TTVObject::Close() {
    FData.reset();
    for (std::int32_t n = FTables.Count(); n >= 1; --n) {
        delete TableAt(n);
        FTables.Remove(n);
    }
    FHeader = TVHeader::Fresh();
    FSameFile = false;
}

TVTable* TTVObject::TableAt(std::int32_t n) {
    return static_cast<TVTable*>(FTables.GetItem(n));
}

const TVTable* TTVObject::Table(std::int32_t n) {
    return TableAt(n);
}

const TVColumn* TTVObject::Column(std::int32_t table, std::int32_t n) {
    return ColumnAt(TableAt(table), n);
}

TVColumn* TTVObject::ColumnAt(TVTable* table, std::int32_t n) {
    return table == nullptr ? nullptr : static_cast<TVColumn*>(table->Columns.GetItem(n));
}

bool TTVObject::ReadStructure(ByteSource& source) {
    unsigned char h[kTVHeaderSize];
    if (source.Read(h, sizeof h) != sizeof h) return false;
    if (std::memcmp(h + 5, kMagic, sizeof kMagic) != 0 || DecodeFixed16(h + 270) != kTVVersion) return false;
    FHeader.TableCount = static_cast<std::int32_t>(DecodeFixed32(h));
    FHeader.Scrambled = h[4];
    FHeader.PasswordMarker = DecodeFloat32(h + 14);
    for (std::size_t k = 0; k < kTVCheckCount; ++k) FHeader.Checks[k] = DecodeFloat32(h + 18 + 4 * k);
    FHeader.Version = kTVVersion;

    // Counts the source cannot hold fail at once instead of after a long run of short reads.
    const std::size_t remaining = source.Remaining();
    const auto fits = [&](std::int32_t count, std::size_t size) {
        return remaining == ByteSource::kUnknown || static_cast<std::uint64_t>(count) <= remaining / size;
    };
    if (FHeader.TableCount > 0 && !fits(FHeader.TableCount, kTVTableSize)) return false;

    for (std::int32_t t = 1; t <= FHeader.TableCount; ++t) {
        unsigned char tb[kTVTableSize];
        if (source.Read(tb, sizeof tb) != sizeof tb) return false;
        auto table = std::unique_ptr<TVTable>(new (std::nothrow) TVTable);
        if (!table) return false;
        table->ColumnCount = static_cast<std::int32_t>(DecodeFixed32(tb));
        table->Name = FieldString(tb + 4, kTVNameMax);
        table->RowCount = static_cast<std::int32_t>(DecodeFixed32(tb + 68));
        table->RowCountSource = tb[72];
        table->DataOffset = static_cast<std::int32_t>(DecodeFixed32(tb + 73));
        if (!FTables.Append(table.get())) return false;
        TVTable* current = table.release();
        if (current->ColumnCount > 0 && !fits(current->ColumnCount, kTVColumnSize)) return false;

        for (std::int32_t c = 1; c <= current->ColumnCount; ++c) {
            auto column = std::unique_ptr<TVColumn>(new (std::nothrow) TVColumn);
            if (!column) return false;
            if (source.Read(column->Bytes.data(), kTVColumnSize) != kTVColumnSize) return false;
            const std::int64_t width = column->Width();
            if (width < 1) return false;
            if (!current->Columns.Append(column.get())) return false;
            column.release();
            current->RowWidth += width;
        }
    }
    return true;
}

bool TTVObject::CheckPassword(const std::string& password) {
    if (!password.empty()) return CheckPasswordValues(FHeader, password);
    if (!OnPassword) return false;
    const std::optional<std::string> typed = OnPassword();
    return typed.has_value() && !typed->empty() && CheckPasswordValues(FHeader, *typed);
}

bool TTVObject::Open(const std::string& dataPath, const std::string& structPath, const std::string& password,
                     const std::string& companionPath) {
    Close();
    if (!FileExists(dataPath)) return false;
    if (structPath != dataPath && !FileExists(structPath)) return false;
    if (!companionPath.empty() && FileExists(companionPath)) return false;
    FSameFile = structPath == dataPath;
    bool read = false;
    {
        FileSource structure(structPath);
        if (!structure.IsOpen()) return false;
        read = ReadStructure(structure);
    }
    if (!read || (FHeader.PasswordMarker != 0.0f && !CheckPassword(password))) {
        Close();
        return false;
    }
    FData = FileDataSource::Open(dataPath);
    if (!FData) {
        Close();
        return false;
    }
    FinishOpen();
    return true;
}

bool TTVObject::OpenBytes(std::string_view bytes, const std::string& password) {
    auto data = std::make_unique<MemoryDataSource>(bytes);
    MemorySource structure(data->Bytes());
    return OpenSources(structure, std::move(data), false, password);
}

bool TTVObject::OpenBytes(std::string_view structure, std::string_view data, const std::string& password) {
    MemorySource source(structure);
    return OpenSources(source, std::make_unique<MemoryDataSource>(data), true, password);
}

bool TTVObject::OpenSources(ByteSource& structure, std::unique_ptr<TVDataSource> data, bool separate,
                            const std::string& password) {
    Close();
    FSameFile = !separate;
    if (!data || !ReadStructure(structure) || (FHeader.PasswordMarker != 0.0f && !CheckPassword(password))) {
        Close();
        return false;
    }
    FData = std::move(data);
    FinishOpen();
    return true;
}

void TTVObject::FinishOpen() {
    // The single table of a separate data file may leave its row count to the file's size.
    if (FSameFile || FTables.Count() != 1) return;
    TVTable* table = TableAt(1);
    if (table->RowCountSource != 0) return;
    // A table without columns has no rows to count (and nothing to divide by).
    const std::uint64_t rows =
        table->RowWidth > 0 ? FData->Size() / static_cast<std::uint64_t>(table->RowWidth) : 0;
    table->RowCount = static_cast<std::int32_t>(
        std::min<std::uint64_t>(rows, static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())));
}

std::int32_t TTVObject::FindTable(std::string_view name) {
    name = Cut(name, kTVNameMax);
    if (name.empty()) return 0;
    for (std::int32_t n = 1; n <= FTables.Count(); ++n)
        if (TableAt(n)->Name == name) return n;
    return 0;
}

std::int32_t TTVObject::FindColumn(std::int32_t table, std::string_view name) {
    TVTable* t = TableAt(table);
    name = Cut(name, kTVNameMax);
    if (t == nullptr || name.empty()) return 0;
    for (std::int32_t n = 1; n <= t->Columns.Count(); ++n)
        if (ColumnAt(t, n)->Name() == name) return n;
    return 0;
}

int TTVObject::CellOffset(TVTable& table, std::int32_t column, std::int32_t row, std::uint64_t& offset) {
    if (!FData || column < 1 || column > table.Columns.Count() || table.RowWidth < 1) return 0;
    // Row 0 and below would land on the rows of other tables or on the structure itself; a
    // negative data offset cannot be sought to.
    if (row < 1 || table.DataOffset < 0) return -1;
    std::uint64_t base = static_cast<std::uint64_t>(table.DataOffset);
    for (std::int32_t c = 1; c < column; ++c) {
        const std::int64_t width = ColumnAt(&table, c)->Width();
        if (width < 1) return 0;
        base += static_cast<std::uint64_t>(width);
    }
    const std::uint64_t size = FData->Size();
    const auto rowWidth = static_cast<std::uint64_t>(table.RowWidth);
    const auto step = static_cast<std::uint64_t>(row - 1);
    // Beyond the data; an offset right at the end is still read (and comes up short).
    if (base > size || step > (size - base) / rowWidth) return 0;
    offset = base + step * rowWidth;
    return 1;
}

TVCell TTVObject::ReadCellAt(TVTable& table, std::int32_t column, std::int32_t row, bool* beyondData) {
    TVCell cell;
    const TVColumn* def = ColumnAt(&table, column);
    if (def == nullptr) {
        cell.Error = 1;
        return cell;
    }
    std::uint64_t offset = 0;
    const int where = CellOffset(table, column, row, offset);
    if (beyondData != nullptr) *beyondData = where != 1;
    if (where == 0) return cell;

    const std::uint8_t type = def->TypeCode();
    cell.TypeCode = type;
    const auto width = static_cast<std::uint64_t>(def->Width());
    bool ok = where == 1 && width <= FData->Size() - offset;
    if (ok) {
        // A string keeps room for its terminating zero; a links cell its whole entries.
        const std::size_t room = type == static_cast<std::uint8_t>(TVType::String) ? cell.Value.size() - 1
                                 : type == static_cast<std::uint8_t>(TVType::Links)
                                     ? cell.Value.size() / 4 * 4
                                     : cell.Value.size();
        const auto keep = static_cast<std::size_t>(std::min<std::uint64_t>(width, room));
        ok = FData->ReadAt(offset, cell.Value.data(), keep) == keep;
        if (ok && type == static_cast<std::uint8_t>(TVType::String) && FHeader.Scrambled != 0)
            for (std::size_t i = 0; i < keep; ++i) cell.Value[i] = UnscrambleTV(cell.Value[i]);
    }
    if (!ok) {
        SetEmptyValue(cell, type);
        cell.Error = 1;
    }
    return cell;
}

std::string TTVObject::ValueText(const TVColumn& column, const TVCell& cell) const {
    const unsigned char* v = cell.Value.data();
    const std::uint8_t style = column.Style();
    const int decimals = column.Decimals();
    switch (static_cast<TVType>(column.TypeCode())) {
        case TVType::Boolean: {
            const bool on = v[0] != 0;
            switch (style) {
                case 0:
                    return on ? "Yes" : "No";
                case 1:
                    return on ? "True" : "False";
                case 2:
                    return on ? "On" : "Off";
                default:
                    return {};
            }
        }
        case TVType::Byte:
            return std::to_string(v[0]);
        case TVType::ShortInt:
            return std::to_string(static_cast<std::int8_t>(v[0]));
        case TVType::Word:
            return std::to_string(DecodeFixed16(v));
        case TVType::Integer:
        case TVType::Integer6:
        case TVType::Integer7:
            return std::to_string(static_cast<std::int32_t>(DecodeFixed32(v)));
        case TVType::Int64:
            return NumberText(static_cast<std::int64_t>(DecodeFixed64(v)), decimals, style);
        case TVType::Extended:
            return NumberText(DecodeExtended(v), decimals, style);
        case TVType::Double:
            return NumberText(static_cast<long double>(std::bit_cast<double>(DecodeFixed64(v))), decimals,
                              style);
        case TVType::Real48:
            return NumberText(static_cast<long double>(DecodeReal48(v)), decimals, style);
        case TVType::Single:
            return NumberText(static_cast<long double>(DecodeFloat32(v)), decimals, style);
        case TVType::DateTime:
            return DateText(std::bit_cast<double>(DecodeFixed64(v)), style);
        case TVType::String:
            return CellString(cell);
        case TVType::Links:
            break;
    }
    return {};
}

std::string TTVObject::DateText(double dayNumber, std::uint8_t style) const {
    // Day numbers outside 0001-01-01 .. 9999-12-31 name no calendar date.
    if (!std::isfinite(dayNumber) || dayNumber < 1.0 || dayNumber >= kDayAfterLast) return {};
    auto day = static_cast<std::int64_t>(std::floor(dayNumber));
    auto ms = static_cast<std::int64_t>(std::llround((dayNumber - static_cast<double>(day)) * 86400000.0));
    if (ms >= 86400000) {
        ++day;
        ms = 0;
    }
    TVDateTime moment;
    // Day 1 is 0001-01-01, a Monday, and 719162 days before 1970-01-01.
    CivilFromDays(day - 1 - 719162, moment.Year, moment.Month, moment.Day);
    moment.DayOfWeek = static_cast<int>((day - 1) % 7) + 1;
    moment.Hour = static_cast<int>(ms / 3600000);
    moment.Minute = static_cast<int>(ms / 60000 % 60);
    moment.Second = static_cast<int>(ms / 1000 % 60);
    moment.Millisecond = static_cast<int>(ms % 1000);

    const auto form = [&](TVDateForm f) {
        return OnDateForm ? OnDateForm(moment, f) : DutchDateForm(moment, f);
    };
    switch (style & 0x7F) {
        case 0:
            return form(TVDateForm::ShortDate) + " " + form(TVDateForm::ShortTime);
        case 1:
            return form(TVDateForm::LongDate) + " " + form(TVDateForm::LongTime);
        case 2:
            return form(TVDateForm::ShortDate);
        case 3:
            return form(TVDateForm::LongDate);
        case 4:
            return form(TVDateForm::ShortTime);
        case 5:
            return form(TVDateForm::LongTime);
        default:
            return ms == 0 ? form(TVDateForm::ShortDate)
                           : form(TVDateForm::ShortDate) + " " + form(TVDateForm::LongTime);
    }
}

std::string TTVObject::TextAt(TVTable& table, std::int32_t column, std::int32_t row, TextBudget& budget,
                              bool* beyondData) {
    const TVColumn* def = ColumnAt(&table, column);
    if (def == nullptr || budget.Reads <= 0) return {};
    --budget.Reads;
    const TVCell cell = ReadCellAt(table, column, row, beyondData);
    if (cell.Error != 0) return {};
    if (def->TypeCode() != static_cast<std::uint8_t>(TVType::Links)) {
        std::string text = ValueText(*def, cell);
        if (text.size() > kTVTextMax) text.resize(kTVTextMax);
        return text;
    }

    if (budget.Depth >= kMaxLinkDepth) return {};
    TVTable* target = TableAt(def->LinkTable());
    const std::int32_t targetColumn = def->LinkColumn();
    const bool targetExists = ColumnAt(target, targetColumn) != nullptr;
    const std::size_t entries = std::min<std::size_t>(
        static_cast<std::size_t>(std::max(def->LinkEntries(), 0)), cell.Value.size() / 4);
    std::string text;
    ++budget.Depth;
    for (std::size_t k = 0; k < entries && targetExists; ++k) {
        const auto entry = static_cast<std::int32_t>(DecodeFixed32(&cell.Value[4 * k]));
        if (entry == 0) continue;
        text += TextAt(*target, targetColumn, entry, budget);
        text += ',';
        // A short string stops growing at 255 characters: nothing later can change it.
        if (text.size() >= kTVTextMax) {
            text.resize(kTVTextMax);
            break;
        }
    }
    --budget.Depth;
    if (!text.empty() && text.back() == ',') text.pop_back();
    return text;
}

TVCell TTVObject::ReadCell(std::string_view table, std::string_view column, std::int32_t row) {
    const std::int32_t t = FindTable(table);
    const std::int32_t c = FindColumn(t, column);
    if (c == 0) {
        TVCell missing;
        missing.Error = 1;
        return missing;
    }
    return ReadCellAt(*TableAt(t), c, row);
}

TVColumn TTVObject::GetColumnDef(std::string_view table, std::string_view column) {
    const std::int32_t t = FindTable(table);
    const std::int32_t c = FindColumn(t, column);
    return c == 0 ? TVColumn{} : *ColumnAt(TableAt(t), c);
}

std::string TTVObject::CellText(std::string_view table, std::string_view column, std::int32_t row) {
    const std::int32_t t = FindTable(table);
    const std::int32_t c = FindColumn(t, column);
    if (c == 0) return {};
    TextBudget budget;
    return TextAt(*TableAt(t), c, row, budget);
}

std::int32_t TTVObject::FindRow(std::string_view table, std::string_view column, std::string_view text) {
    text = Cut(text, kTVTextMax);
    const std::int32_t t = FindTable(table);
    const std::int32_t c = FindColumn(t, column);
    if (c == 0) return 0;
    TVTable& found = *TableAt(t);
    for (std::int32_t row = 1; row <= found.RowCount; ++row) {
        TextBudget budget;
        bool beyondData = false;
        if (TextAt(found, c, row, budget, &beyondData) == text) return row;
        // Every later row lies beyond the data too and reads as the same all-zero cell: a row
        // count far larger than the file is not worth billions of equal comparisons.
        if (beyondData) break;
    }
    return 0;
}

}  // namespace slumra
