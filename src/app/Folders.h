// Where the program's files are and which of the three designs the screen has: asked by the
// main window, the diary's dialogs and the widgets alike.
#pragma once

#include <string>

namespace slumra {

// The folder of the running program, with its trailing backslash.
std::string ProgramFolder();

// The folder of the user's diaries: User\ beside the program, or %APPDATA%\Slumra\User when
// the program's folder cannot be written (an installation under Program Files).
std::string UserFolder();

// Where diaries are listed from. When User\ beside the program cannot be used, the diaries are
// kept in %APPDATA%; those already beside the program can still be read.
struct DiaryPlaces {
    std::string Own;              // where diaries are made, written, renamed and deleted
    std::string ReadOnly;         // User\ beside the program when it is a folder that cannot be written
    bool BesideUnusable = false;  // User\ beside the program exists but cannot be written or is no folder
};
DiaryPlaces FindDiaryPlaces();

// %APPDATA%\Slumra\<sub>\ (made when missing); empty when there is no such folder.
std::string RoamingFolder(const std::string& sub);

// The size class chosen at start-up (0..5).
int SizeClass();
void SetSizeClass(int sizeClass);

}  // namespace slumra
