#include "data/Files.h"

#include "data/FilesPlatform.h"

#include <filesystem>
#include <system_error>

namespace slumra {

namespace {

thread_local FileError tLastError = FileError::None;

void Fail() {
    tLastError = platform::CurrentError();
    if (tLastError == FileError::None) tLastError = FileError::Other;
}

}  // namespace

std::FILE* OpenFile(const std::string& path, const char* mode) {
    platform::ClearError();
    std::FILE* f = platform::Open(path, mode);
    if (f == nullptr) Fail();
    return f;
}

std::FILE* CreateNewFile(const std::string& path) {
    platform::ClearError();
    std::FILE* f = platform::CreateExclusive(path);
    if (f == nullptr) Fail();
    return f;
}

FileError LastFileError() {
    return tLastError;
}

FileSource::FileSource(const std::string& path) {
    file_ = OpenFile(path, "rb");
    if (file_ == nullptr) return;
    std::error_code ec;
    auto size = std::filesystem::file_size(platform::NativePath(path), ec);
    size_ = ec ? 0 : static_cast<std::size_t>(size);
}

FileSource::~FileSource() {
    if (file_ != nullptr) std::fclose(file_);
}

std::size_t FileSource::Read(void* dst, std::size_t n) {
    if (file_ == nullptr || n == 0) return 0;
    std::size_t got = std::fread(dst, 1, n, file_);
    pos_ += got;
    return got;
}

FileSink::FileSink(const std::string& path) {
    file_ = OpenFile(path, "wb");
    if (file_ == nullptr) error_ = LastFileError();
}

FileSink::~FileSink() {
    if (file_ != nullptr) std::fclose(file_);
}

std::size_t FileSink::Write(const void* src, std::size_t n) {
    if (file_ == nullptr) return 0;
    platform::ClearError();
    const std::size_t put = std::fwrite(src, 1, n, file_);
    if (put != n) {
        Fail();
        error_ = tLastError;
    }
    return put;
}

bool FileSink::Flush() {
    if (file_ == nullptr) return false;
    platform::ClearError();
    if (std::fflush(file_) != 0 || !platform::Sync(file_)) {
        Fail();
        error_ = tLastError;
        return false;
    }
    return true;
}

bool FileSink::Close() {
    if (file_ == nullptr) return false;
    platform::ClearError();
    const int rc = std::fclose(file_);
    file_ = nullptr;
    if (rc != 0) {
        Fail();
        error_ = tLastError;
    }
    return rc == 0;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(platform::NativePath(path), ec);
}

bool RemoveFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::remove(platform::NativePath(path), ec);
}

bool MoveFileReplacing(const std::string& from, const std::string& to) {
    // On Windows this is MoveFileEx with MOVEFILE_REPLACE_EXISTING; on POSIX, rename(2).
    std::error_code ec;
    std::filesystem::rename(platform::NativePath(from), platform::NativePath(to), ec);
    if (ec) tLastError = platform::Classify(ec) == FileError::None ? FileError::Other : platform::Classify(ec);
    return !ec;
}

bool CopyFileBytes(const std::string& from, const std::string& to) {
    std::string bytes;
    if (!ReadWholeFile(from, bytes)) return false;
    FileSink sink(to);
    bool ok = sink.IsOpen() && sink.Write(bytes.data(), bytes.size()) == bytes.size() && sink.Flush();
    ok = sink.Close() && ok;
    if (!ok) RemoveFile(to);
    return ok;
}

bool ReadWholeFile(const std::string& path, std::string& out) {
    out.clear();
    std::FILE* f = OpenFile(path, "rb");
    if (f == nullptr) return false;
    char buf[65536];
    std::size_t got;
    bool ok = true;
    try {
        while ((got = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, got);
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    ok = ok && std::ferror(f) == 0;
    if (!ok) Fail();
    std::fclose(f);
    return ok;
}

namespace {

class DiskFileSystem final : public FileSystem {
public:
    bool Exists(const std::string& path) override { return FileExists(path); }
    bool ReadWhole(const std::string& path, std::string& out) override {
        return Note(ReadWholeFile(path, out));
    }
    std::unique_ptr<WritableFile> Create(const std::string& path) override {
        auto sink = std::make_unique<FileSink>(path);
        if (!Note(sink->IsOpen())) return nullptr;
        return sink;
    }
    std::unique_ptr<WritableFile> CreateNew(const std::string& path) override {
        std::FILE* f = CreateNewFile(path);
        if (!Note(f != nullptr)) return nullptr;
        return std::make_unique<FileSink>(f);
    }
    bool Move(const std::string& from, const std::string& to) override {
        return Note(MoveFileReplacing(from, to));
    }
    bool Remove(const std::string& path) override { return RemoveFile(path); }
    bool MakeFolders(const std::string& path) override {
        std::error_code ec;
        std::filesystem::create_directories(platform::NativePath(path), ec);
        if (ec) FLastError = platform::Classify(ec);
        return !ec;
    }

private:
    bool Note(bool ok) {
        FLastError = ok ? FileError::None : LastFileError();
        return ok;
    }
};

}  // namespace

FileSystem& RealFileSystem() {
    static DiskFileSystem disk;
    return disk;
}

bool WriteFileReplacing(FileSystem& fs, const std::string& path,
                        const std::function<bool(WritableFile&, FileError&)>& write, FileError* why) {
    auto fail = [why](FileError e) {
        if (why != nullptr) *why = e != FileError::None ? e : FileError::Other;
        return false;
    };
    if (path.empty()) return fail(FileError::NotFound);
    const std::string temp = path + ".new";
    auto file = fs.Create(temp);
    if (!file) return fail(fs.LastError());
    FileError error = FileError::None;
    bool ok = write(*file, error);
    file.reset();
    if (ok && !fs.Move(temp, path)) {
        ok = false;
        error = fs.LastError();
    }
    if (ok) return true;
    fs.Remove(temp);
    return fail(error);
}

}  // namespace slumra
