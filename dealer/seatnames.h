// Seat names as the dealer stores them: code page 1254 bytes that fit the 30-byte name
// field of the game record together with its terminating zero.
#pragma once

#include <QByteArray>
#include <QList>

#include "gameinfo.h"

// Longest name the record holds (one byte is kept for the terminating zero).
constexpr int kMaxNameBytes = 29;

// Cuts a received name at its first zero byte and to kMaxNameBytes bytes.
QByteArray FitSeatName(QByteArray name);

// The name under which a newcomer is seated, given the names of the seats already taken.
// A name that equals a taken one gets "X" appended until it is unique: a second Ali
// becomes AliX, a third AliXX. When the X would not fit any more, the last letters of
// the name make room for them; should even that not help (names made of X only), the
// last byte becomes a digit. The result is always unique among at most nine taken names
// that end in X or a digit, and never longer than kMaxNameBytes. An empty name among the
// taken ones makes an empty name "X".
QByteArray UniqueSeatName(const QByteArray& name, const QList<QByteArray>& taken);

// The name in a seat's field of the record, up to its terminating zero.
QByteArray SeatNameInRecord(const TGameInfo& g, int seat);
