// The Windows C runtime keeps the system's own error code of a failing call in _doserrno, which
// tells a file held by another program from one that may not be written; errno cannot.
#include "data/FilesPlatform.h"

#include "lang/Cp1252.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

namespace slumra::platform {

namespace {

// System error codes (winerror.h), named here so the core stays free of <windows.h>.
enum : unsigned long {
    kFileNotFound = 2,
    kPathNotFound = 3,
    kAccessDenied = 5,
    kWriteProtect = 19,
    kSharingViolation = 32,
    kLockViolation = 33,
    kHandleDiskFull = 39,
    kDiskFull = 112,
};

FileError FromSystem(unsigned long code) {
    switch (code) {
        case 0: return FileError::None;
        case kHandleDiskFull:
        case kDiskFull: return FileError::DiskFull;
        case kAccessDenied:
        case kWriteProtect: return FileError::NoPermission;
        case kSharingViolation:
        case kLockViolation: return FileError::InUse;
        case kFileNotFound:
        case kPathNotFound: return FileError::NotFound;
        default: return FileError::Other;
    }
}

FileError FromErrno(int e) {
    switch (e) {
        case 0: return FileError::None;
        case ENOSPC: return FileError::DiskFull;
        case EACCES:
        case EPERM:
        case EROFS: return FileError::NoPermission;
        case EBUSY: return FileError::InUse;
        case ENOENT: return FileError::NotFound;
        default: return FileError::Other;
    }
}

std::wstring Wide(const std::string& path) {
    const std::u16string w = Cp1252ToUtf16(path);
    return std::wstring(w.begin(), w.end());
}

}  // namespace

std::filesystem::path NativePath(const std::string& path) {
    return std::filesystem::path(Wide(path));
}

std::FILE* Open(const std::string& path, const char* mode) {
    const std::wstring wmode(mode, mode + std::strlen(mode));
    return _wfopen(Wide(path).c_str(), wmode.c_str());
}

std::FILE* CreateExclusive(const std::string& path) {
    const int fd = _wopen(Wide(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) return nullptr;
    std::FILE* f = _fdopen(fd, "wb");
    if (f == nullptr) _close(fd);
    return f;
}

bool Sync(std::FILE* file) {
    return _commit(_fileno(file)) == 0;
}

void ClearError() {
    errno = 0;
    _doserrno = 0;
}

FileError CurrentError() {
    if (_doserrno != 0) return FromSystem(_doserrno);
    return FromErrno(errno);
}

FileError Classify(const std::error_code& ec) {
    if (!ec) return FileError::None;
    if (ec.category() == std::system_category()) return FromSystem(static_cast<unsigned long>(ec.value()));
    return FromErrno(ec.value());
}

}  // namespace slumra::platform
