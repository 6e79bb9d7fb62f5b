// Command strings read from the registry, cut into a program and its parameters.
#pragma once

#include <string>

namespace slumra {

struct ProgramCall {
    std::string Program;
    std::string Parameters;
    std::string Folder;  // working folder; empty for none
    friend bool operator==(const ProgramCall&, const ProgramCall&) = default;
};

// The browser's open command `command` (as registered for HTML documents) made to open
// `address`: the document placeholder ("%" and the digit after it) and every double quote are
// removed; the program runs up to the first ".BAT ", ".EXE " or ".COM " (in that order of
// preference, any case), the words after it come before the address. Without such an
// extension the whole string is the program.
ProgramCall BrowserCall(std::string command, const std::string& address);

// The registered uninstall command: a quoted program path and what follows its closing quote
// and one separator; or an unquoted path up to a space before a double quote, with the quoted
// rest as parameters; or, with neither, the whole string as the program. The working folder is
// the program's folder (up to its last "\" or ":").
ProgramCall UninstallCall(std::string command);

}  // namespace slumra
