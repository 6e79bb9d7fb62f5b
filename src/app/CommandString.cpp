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

}  // namespace slumra
