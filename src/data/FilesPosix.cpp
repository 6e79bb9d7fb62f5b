#include "data/FilesPlatform.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace slumra::platform {

namespace {

FileError FromErrno(int e) {
    switch (e) {
        case 0: return FileError::None;
        case ENOSPC:
        case EDQUOT: return FileError::DiskFull;
        case EACCES:
        case EPERM:
        case EROFS: return FileError::NoPermission;
        case EBUSY:
        case ETXTBSY: return FileError::InUse;
        case ENOENT:
        case ENOTDIR: return FileError::NotFound;
        default: return FileError::Other;
    }
}

}  // namespace

std::filesystem::path NativePath(const std::string& path) {
    return std::filesystem::path(path);
}

std::FILE* Open(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

std::FILE* CreateExclusive(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return nullptr;
    std::FILE* f = ::fdopen(fd, "wb");
    if (f == nullptr) ::close(fd);
    return f;
}

bool Sync(std::FILE* file) {
    return ::fsync(::fileno(file)) == 0;
}

void ClearError() {
    errno = 0;
}

FileError CurrentError() {
    return FromErrno(errno);
}

FileError Classify(const std::error_code& ec) {
    return ec ? FromErrno(ec.value()) : FileError::None;
}

}  // namespace slumra::platform
