// What the program does before its windows exist: the answers on the command line and the
// program's icon (its language is set by ui/language).
#pragma once

#include <optional>

// `zorbela --help` (-h) and `zorbela --version` (-v) print their answer on standard output
// and give the exit code; any other argument is left to Qt (std::nullopt).
std::optional<int> AnswerCommandLine(int argc, char** argv);

// The program's icon in every size it carries, for its windows.
void SetProgramIcon();
