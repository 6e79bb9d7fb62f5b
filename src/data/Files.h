// Files on disk: reading and writing them as byte sources and sinks, and the small file-system
// interface the diary works through, so tests can make any step of a save fail.
#pragma once

#include "data/Coding.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

namespace slumra {

// Why a file operation failed, as far as the platform tells.
enum class FileError {
    None,
    DiskFull,      // no room left on the disk
    NoPermission,  // the folder or file may not be written (read-only, protected)
    InUse,         // another program holds the file
    NotFound,
    Other,
};

// Paths are Windows-1252 bytes, as every text of the program; these open them as such on
// Windows whatever the system code page, and as given elsewhere.
std::FILE* OpenFile(const std::string& path, const char* mode);
// Creates a file that must not exist yet (never replaces one); null when it exists or cannot be made.
std::FILE* CreateNewFile(const std::string& path);
// The reason of the last failing open, write, flush or close of this thread.
FileError LastFileError();

// A file opened for reading; Read reports 0 bytes when the file could not be opened.
class FileSource final : public ByteSource {
public:
    explicit FileSource(const std::string& path);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    bool IsOpen() const { return file_ != nullptr; }
    std::size_t Read(void* dst, std::size_t n) override;
    // Measured when the file was opened.
    std::size_t Remaining() const override { return pos_ >= size_ ? 0 : size_ - pos_; }

private:
    std::FILE* file_ = nullptr;
    std::size_t size_ = 0;
    std::size_t pos_ = 0;
};

// A file being written: Flush pushes it to stable storage, Close reports the last write-back.
class WritableFile : public ByteSink {
public:
    [[nodiscard]] virtual bool Close() = 0;
    // Why the last failing call failed.
    virtual FileError Error() const = 0;
};

// A file created (or truncated) for writing.
class FileSink final : public WritableFile {
public:
    explicit FileSink(const std::string& path);
    // Takes an opened file over.
    explicit FileSink(std::FILE* file) : file_(file) {}
    ~FileSink() override;
    FileSink(const FileSink&) = delete;
    FileSink& operator=(const FileSink&) = delete;

    bool IsOpen() const { return file_ != nullptr; }
    std::size_t Write(const void* src, std::size_t n) override;
    [[nodiscard]] bool Flush() override;
    [[nodiscard]] bool Close() override;
    FileError Error() const override { return error_; }

private:
    std::FILE* file_ = nullptr;
    FileError error_ = FileError::None;
};

bool FileExists(const std::string& path);
bool RemoveFile(const std::string& path);
// Moves `from` to `to`, replacing `to` in one step where the platform allows it.
[[nodiscard]] bool MoveFileReplacing(const std::string& from, const std::string& to);
// Copies a file byte for byte; false when anything failed (a partial copy is removed).
[[nodiscard]] bool CopyFileBytes(const std::string& from, const std::string& to);
// Reads a whole file into `out`; false when it cannot be opened or read.
[[nodiscard]] bool ReadWholeFile(const std::string& path, std::string& out);

// The file operations the diary needs. Every call that fails leaves its reason in LastError().
class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual bool Exists(const std::string& path) = 0;
    [[nodiscard]] virtual bool ReadWhole(const std::string& path, std::string& out) = 0;
    // A new or truncated file; null when it cannot be made.
    virtual std::unique_ptr<WritableFile> Create(const std::string& path) = 0;
    // A file that must not exist yet; null when it exists or cannot be made.
    virtual std::unique_ptr<WritableFile> CreateNew(const std::string& path) = 0;
    [[nodiscard]] virtual bool Move(const std::string& from, const std::string& to) = 0;
    virtual bool Remove(const std::string& path) = 0;
    virtual bool MakeFolders(const std::string& path) = 0;
    FileError LastError() const { return FLastError; }

protected:
    FileError FLastError = FileError::None;
};

// The disk itself.
FileSystem& RealFileSystem();

// Writes `path` through a new file beside it ("<path>.new"): `write` fills the file and closes
// it (false on failure); only a complete file then replaces `path`. A failure leaves `path` as
// it was, removes the new file and gives its reason in *why.
[[nodiscard]] bool WriteFileReplacing(FileSystem& fs, const std::string& path,
                                      const std::function<bool(WritableFile&, FileError&)>& write,
                                      FileError* why = nullptr);

}  // namespace slumra
