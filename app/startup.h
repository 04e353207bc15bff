// What the program does before its windows exist: the answers on the command line and the
// program's icon (its language is set by ui/language).
#pragma once

#include <optional>

#include "language.h"

// `zorbela --help` (-h) and `zorbela --version` (-v) print their answer on standard output
// and give the exit code; any other argument is left to Qt (std::nullopt). The help is in
// language.
std::optional<int> AnswerCommandLine(int argc, char** argv, TLanguage language = TLanguage::Turkish);

// The program's icon in every size it carries, for its windows.
void SetProgramIcon();
