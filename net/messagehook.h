// Where a component's transport messages go: the log, then its OnMessage handler or Notify().
#pragma once

#include <QString>

#include "packetsocket.h"

void ShowNetMessage(const TNetMessageEvent& handler, const QString& text);
