// The Turkish Windows code page 1254, in which every text of the game travels and is
// stored (names in the game record, texts of the messages, the best and worst lists).
// This is the program's one table of it, plain C++; the transport's QString converters
// (net/cp1254.h) and the computer player's messages are built on it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The code point of a byte. Bytes 0x00-0x7F are ASCII; the seven bytes that the code page
// leaves unassigned (0x81, 0x8D, 0x8E, 0x8F, 0x90, 0x9D, 0x9E) map to the control characters
// of the same number, so every byte string survives a round trip unchanged.
char16_t Cp1254ToUnicode(uint8_t byte);
// The byte of a code point, or -1 when the code page has none.
int UnicodeToCp1254(char32_t codePoint);
// Bytes of the code page as UTF-8, for messages: an unassigned byte becomes U+FFFD.
std::string Cp1254ToUtf8(std::string_view bytes);
