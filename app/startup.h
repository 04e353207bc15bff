// What the program does before its windows exist: the answers on the command line, Qt's
// own texts in Turkish, the program's icon.
#pragma once

#include <optional>

class QApplication;

// `zorbela --help` (-h) and `zorbela --version` (-v) print their answer on standard output
// and give the exit code; any other argument is left to Qt (std::nullopt).
std::optional<int> AnswerCommandLine(int argc, char** argv);

// Loads Qt's Turkish translations, so the standard dialogs and buttons speak Turkish
// ("İptal", "Dosya adı:"). Returns false (and logs) when they are not installed.
bool InstallTurkishQtTexts(QApplication& app);

// The program's icon in every size it carries, for its windows.
void SetProgramIcon();
