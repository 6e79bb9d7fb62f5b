#include "data/Coding.h"

#include "lang/Cp1252.h"

#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace slumra {

namespace {

std::filesystem::path NativePath(const std::string& path) {
#ifdef _WIN32
    std::u16string wide = Cp1252ToUtf16(path);
    return std::filesystem::path(std::wstring(wide.begin(), wide.end()));
#else
    return std::filesystem::path(path);
#endif
}

}  // namespace

std::size_t MemorySource::Read(void* dst, std::size_t n) {
    std::size_t take = std::min(n, bytes_.size() - pos_);
    if (take > 0) std::memcpy(dst, bytes_.data() + pos_, take);
    pos_ += take;
    return take;
}

std::size_t StringSink::Write(const void* src, std::size_t n) {
    bytes_.append(static_cast<const char*>(src), n);
    return n;
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
#ifdef _WIN32
    std::u16string wide = Cp1252ToUtf16(path);
    std::wstring wmode(mode, mode + std::strlen(mode));
    return _wfopen(reinterpret_cast<const wchar_t*>(wide.c_str()), wmode.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

FileSource::FileSource(const std::string& path) {
    file_ = OpenFile(path, "rb");
    if (file_ == nullptr) return;
    std::error_code ec;
    auto size = std::filesystem::file_size(NativePath(path), ec);
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
}

FileSink::~FileSink() {
    if (file_ != nullptr) std::fclose(file_);
}

std::size_t FileSink::Write(const void* src, std::size_t n) {
    if (file_ == nullptr) return 0;
    return std::fwrite(src, 1, n, file_);
}

bool FileSink::Flush() {
    if (file_ == nullptr || std::fflush(file_) != 0) return false;
#ifdef _WIN32
    return _commit(_fileno(file_)) == 0;
#else
    return fsync(fileno(file_)) == 0;
#endif
}

bool FileSink::Close() {
    if (file_ == nullptr) return false;
    int rc = std::fclose(file_);
    file_ = nullptr;
    return rc == 0;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(NativePath(path), ec);
}

bool RemoveFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::remove(NativePath(path), ec);
}

bool ReplaceFile(const std::string& from, const std::string& to) {
    // On Windows this is MoveFileEx with MOVEFILE_REPLACE_EXISTING; on POSIX, rename(2).
    std::error_code ec;
    std::filesystem::rename(NativePath(from), NativePath(to), ec);
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
    while ((got = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, got);
    bool ok = std::ferror(f) == 0;
    std::fclose(f);
    return ok;
}

}  // namespace slumra
