// How the rules, the computer player and the transport report a fault without knowing any
// window: a plain hook. The program installs a notifier that hands the notice to its window
// layer (which beeps and shows a box later, from its own event loop), tools print it, tests
// install a recorder. Without one, notices go to standard error. A notifier returns at once:
// it never shows anything itself, waits or runs an event loop, and it may be called from
// any thread.
#pragma once

#include <functional>
#include <string>

// text is UTF-8; beeps is the number of beeps (a second apart) before the message.
using TNotifier = std::function<void(const std::string& text, int beeps)>;

void SetNotifier(TNotifier notifier);
void Notify(const std::string& text, int beeps = 0);
