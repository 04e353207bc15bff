// The transport's log: Qt logging category "zorbela.net". Every transport message (socket
// errors, protocol faults) is logged here before it goes to its component's handler.
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcNet)
