// Scratch paths for tests: below the temporary folder (TMPDIR where it is set) and named after
// the test process, so that two test runs on one machine never touch each other's files.
#pragma once

#include <filesystem>
#include <string>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace slumra::test {

inline std::filesystem::path ScratchPath(const std::string& stem) {
#ifdef _WIN32
    const long pid = _getpid();
#else
    const long pid = static_cast<long>(getpid());
#endif
    return std::filesystem::temp_directory_path() / (stem + "-" + std::to_string(pid));
}

}  // namespace slumra::test
