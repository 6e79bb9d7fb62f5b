// Little-endian field coding and the small byte source/sink interfaces every file reader and
// writer of the program works on, so tests can feed them bytes from memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <string_view>

namespace slumra {

inline std::uint16_t DecodeFixed16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t DecodeFixed32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

inline void EncodeFixed16(unsigned char* p, std::uint16_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}

inline void EncodeFixed32(unsigned char* p, std::uint32_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}

// Something bytes are read from, front to back.
class ByteSource {
public:
    static constexpr std::size_t kUnknown = std::numeric_limits<std::size_t>::max();

    virtual ~ByteSource() = default;
    // Reads up to n bytes into dst; returns how many arrived (fewer only at the end or on error).
    virtual std::size_t Read(void* dst, std::size_t n) = 0;
    // Bytes still to come, or kUnknown. Readers use it to refuse lengths the source cannot hold.
    virtual std::size_t Remaining() const { return kUnknown; }
};

// Something bytes are written to.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Writes n bytes; returns how many were taken (fewer means the write failed).
    virtual std::size_t Write(const void* src, std::size_t n) = 0;
    // Pushes everything written so far to stable storage; false on failure.
    [[nodiscard]] virtual bool Flush() { return true; }
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
    // The bytes are not copied: a temporary would be gone before the first read.
    explicit MemorySource(std::string&&) = delete;
    std::size_t Read(void* dst, std::size_t n) override;
    std::size_t Remaining() const override { return bytes_.size() - pos_; }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

class StringSink final : public ByteSink {
public:
    std::size_t Write(const void* src, std::size_t n) override;
    const std::string& Bytes() const { return bytes_; }

private:
    std::string bytes_;
};

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

// A file created (or truncated) for writing.
class FileSink final : public ByteSink {
public:
    explicit FileSink(const std::string& path);
    ~FileSink() override;
    FileSink(const FileSink&) = delete;
    FileSink& operator=(const FileSink&) = delete;

    bool IsOpen() const { return file_ != nullptr; }
    std::size_t Write(const void* src, std::size_t n) override;
    [[nodiscard]] bool Flush() override;
    // Closes the file; false when the close (the last write-back) failed.
    [[nodiscard]] bool Close();

private:
    std::FILE* file_ = nullptr;
};

// Paths are Windows-1252 bytes, as every text of the program; these open them as such on
// Windows whatever the system code page, and as given elsewhere.
std::FILE* OpenFile(const std::string& path, const char* mode);
bool FileExists(const std::string& path);
bool RemoveFile(const std::string& path);
// Replaces `to` by `from` in one step where the platform allows it.
[[nodiscard]] bool ReplaceFile(const std::string& from, const std::string& to);
// Copies a file byte for byte; false when anything failed (a partial copy is removed).
[[nodiscard]] bool CopyFileBytes(const std::string& from, const std::string& to);
// Reads a whole file into `out`; false when it cannot be opened or read.
[[nodiscard]] bool ReadWholeFile(const std::string& path, std::string& out);

}  // namespace slumra
