// What the file layer needs from the platform; one implementation per platform
// (FilesPosix.cpp, FilesWin32.cpp), chosen by the build.
#pragma once

#include "data/Files.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace slumra::platform {

std::filesystem::path NativePath(const std::string& path);
std::FILE* Open(const std::string& path, const char* mode);
std::FILE* CreateExclusive(const std::string& path);
// Pushes a flushed stream's data to the disk; false on failure.
bool Sync(std::FILE* file);
// Forgets the reason of an earlier failure, so the next failure is told by its own reason.
void ClearError();
FileError CurrentError();
FileError Classify(const std::error_code& ec);

}  // namespace slumra::platform
