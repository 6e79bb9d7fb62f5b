#include "data/Coding.h"

#include <algorithm>
#include <cstring>

namespace slumra {

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

}  // namespace slumra
