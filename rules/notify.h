// How the rules and the computer player tell the user about a fault without knowing any
// window: the program installs a notifier that beeps and shows a message box, tests install
// a recorder. Without one, notices go to standard error.
#pragma once

#include <functional>
#include <string>

// text is UTF-8; beeps is the number of beeps (a second apart) before the message.
using TNotifier = std::function<void(const std::string& text, int beeps)>;

void SetNotifier(TNotifier notifier);
void Notify(const std::string& text, int beeps = 0);
