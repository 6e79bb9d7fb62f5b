#include "app/CommandString.h"

#include <algorithm>

namespace slumra {

namespace {

std::string Upper(std::string s) {
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    }
    return s;
}

}  // namespace

ProgramCall BrowserCall(std::string command, const std::string& address) {
    command = command.substr(0, 255);
    const std::size_t percent = command.find('%');
    if (percent != std::string::npos) command.erase(percent, 2);
    command.erase(std::remove(command.begin(), command.end(), '"'), command.end());

    const std::string upper = Upper(command);
    std::size_t at = std::string::npos;
    for (const char* ext : {".BAT ", ".EXE ", ".COM "}) {
        at = upper.find(ext);
        if (at != std::string::npos) break;
    }
    ProgramCall call;
    std::string rest;
    if (at != std::string::npos) {
        call.Program = command.substr(0, at + 4);
        rest = command.substr(at + 5);
    } else {
        call.Program = command;
    }
    call.Parameters = rest.empty() ? address : rest + " " + address;
    return call;
}

ProgramCall UninstallCall(std::string command) {
    command = command.substr(0, 255);
    ProgramCall call;
    if (command.empty()) return call;
    if (command[0] == '"') {
        command.erase(0, 1);
        const std::size_t close = command.find('"');
        call.Program = command.substr(0, close);
        call.Parameters =
            close == std::string::npos ? std::string() : command.substr(std::min(command.size(), close + 2));
    } else {
        const std::size_t split = command.find(" \"");
        if (split != std::string::npos) {
            call.Program = command.substr(0, split);
            call.Parameters = command.substr(split + 1);
        } else {
            // A plain path without parameters; taken whole rather than left empty, so the
            // uninstaller still starts.
            call.Program = command;
        }
    }
    const std::size_t sep = call.Program.find_last_of("\\:");
    call.Folder = sep == std::string::npos ? std::string() : call.Program.substr(0, sep + 1);
    return call;
}

}  // namespace slumra
