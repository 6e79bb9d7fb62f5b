#include "diary/DiarySession.h"

#include "lang/TransLtr.h"

#include <algorithm>
#include <cstdio>

namespace slumra {

namespace {

// Copies of a damaged diary are numbered on; past this many something else is wrong.
constexpr int kMaxDamagedCopies = 10000;
constexpr int kMaxEmergencyCopies = 100;

std::string WithoutBars(std::string s) {
    s.erase(std::remove(s.begin(), s.end(), '|'), s.end());
    return s;
}

}  // namespace

DiaryOpenResult DiarySession::Open(const std::string& path, bool readOnly, ProgressSink* gauge) {
    Close();
    FFile = std::make_unique<TDrDiRecFile>();
    FPath = path;
    FReadOnly = readOnly;
    if (!FFs.Exists(path)) return DiaryOpenResult::Loaded;

    std::string bytes;
    if (!FFs.ReadWhole(path, bytes)) {
        // It exists but cannot be read (held by another program, no permission): what is in
        // it is unknown, so it is never written over.
        FLastError = FFs.LastError();
        FReadOnly = true;
        return DiaryOpenResult::DamagedReadOnly;
    }
    MemorySource source(bytes);
    // Bytes left over after the counted records are dreams a wrong count hides: damaged too.
    const bool whole = FFile->LoadFromSource(source, gauge) && source.Remaining() == 0;
    if (readOnly) return whole || bytes.empty() ? DiaryOpenResult::Loaded : DiaryOpenResult::DamagedReadOnly;
    if (whole) {
        // A save that was cut off before its last step leaves its new file behind; the diary
        // itself is whole, so that file holds nothing the diary lacks worth keeping over it.
        if (FFs.Exists(path + ".new")) FFs.Remove(path + ".new");
        return DiaryOpenResult::Loaded;
    }
    // A new diary is an empty file: there is nothing in it to lose.
    if (bytes.empty()) return DiaryOpenResult::Loaded;
    if (CopyAside(bytes)) return DiaryOpenResult::DamagedCopiedAside;
    FReadOnly = true;
    return DiaryOpenResult::DamagedReadOnly;
}

bool DiarySession::CopyAside(const std::string& original) {
    for (int n = 1; n <= kMaxDamagedCopies; ++n) {
        const std::string name = FPath + ".beschadigd" + (n == 1 ? "" : std::to_string(n));
        if (FFs.Exists(name)) continue;
        auto file = FFs.CreateNew(name);
        if (!file) {
            if (FFs.Exists(name)) continue;  // made by someone else meanwhile
            FLastError = FFs.LastError();
            return false;
        }
        bool ok = file->Write(original.data(), original.size()) == original.size() && file->Flush();
        ok = file->Close() && ok;
        if (!ok) FLastError = file->Error();
        // Only a copy read back byte for byte equal to the original counts.
        std::string back;
        if (ok && (!FFs.ReadWhole(name, back) || back != original)) {
            ok = false;
            FLastError = FFs.LastError() != FileError::None ? FFs.LastError() : FileError::Other;
        }
        if (!ok) {
            FFs.Remove(name);
            return false;
        }
        FDamagedCopy = name;
        return true;
    }
    FLastError = FileError::Other;
    return false;
}

std::string DiarySession::NameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    return file.substr(0, file.find('.'));
}

bool DiarySession::StoreDream(std::int32_t n, const DreamFields& fields) {
    if (!FFile || FReadOnly || n <= 0 || n > FFile->VisibleCount()) return false;
    DrDiRec rec = FFile->GetVisibleRecord(n);
    rec.Head = fields.Name + "|" + WithoutBars(fields.Date) + "|" + WithoutBars(fields.Time);
    rec.Description = fields.Description;
    rec.Explanation = fields.Explanation;
    return FFile->SetVisibleRecord(n, rec);
}

bool DiarySession::Save(ProgressSink* gauge) {
    if (!FFile) {
        FLastError = FileError::Other;
        return false;
    }
    if (FReadOnly) return true;
    FLastError = FileError::None;
    return FFile->SaveToFile(FPath, FFs, &FLastError, gauge);
}

bool DiarySession::WriteCopy(const std::string& folder, const std::string& stamp, std::string& written) {
    written.clear();
    if (!FFile) {
        FLastError = FileError::Other;
        return false;
    }
    (void)FFs.MakeFolders(folder);
    const std::string base = folder + Name() + " " + stamp;
    for (int n = 1; n <= kMaxEmergencyCopies; ++n) {
        const std::string name = base + (n == 1 ? "" : " (" + std::to_string(n) + ")") + ".ddf";
        if (FFs.Exists(name)) continue;
        auto file = FFs.CreateNew(name);
        if (!file) {
            FLastError = FFs.LastError() != FileError::None ? FFs.LastError() : FileError::Other;
            return false;
        }
        if (!FFile->SaveToFileSink(*file, &FLastError)) {
            file.reset();
            FFs.Remove(name);
            return false;
        }
        written = name;
        return true;
    }
    FLastError = FileError::Other;
    return false;
}

void DiarySession::Close() {
    FFile.reset();
    FPath.clear();
    FDamagedCopy.clear();
    FReadOnly = false;
    FLastError = FileError::None;
}

std::string SaveFailureText(FileError error) {
    std::string why;
    switch (error) {
        case FileError::DiskFull: why = ProgramText(7282, "de schijf is vol."); break;
        case FileError::NoPermission: why = ProgramText(7283, "de map is alleen-lezen of beveiligd."); break;
        case FileError::InUse: why = ProgramText(7284, "het bestand is in gebruik door een ander programma."); break;
        case FileError::NotFound: why = ProgramText(7285, "de map bestaat niet (meer)."); break;
        default: why = ProgramText(7281, "het bestand kon niet worden geschreven."); break;
    }
    return ProgramText(7280, "Het droomnachtboek kon niet worden bewaard: ") + why;
}

std::string FileTimeStamp(int year, int month, int day, int hour, int minute, int second) {
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d.%02d.%02d", year, month, day, hour, minute, second);
    return text;
}

}  // namespace slumra
