// Little-endian field coding and the small byte source/sink interfaces every file reader and
// writer of the program works on, so tests can feed them bytes from memory.
#pragma once

#include <cstddef>
#include <cstdint>
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

}  // namespace slumra
