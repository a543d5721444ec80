// What the terminals' own key sequences mean, family by family: the bytes typed alone,
// the CSI and SS3 sequences of the cursor, editing, function and keypad keys. Each family's
// sequences are tables in legacy_keys.cpp.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "console/pc_keyboard.hpp"
#include "console/stream/sequence_parser.hpp"

namespace console::stream {

// Reads a sequence's modifier parameter (1 + Shift 1, Alt 2, Ctrl 4, Meta 8) into
// control-key state. While the kitty keyboard protocol is on, the decoder reads it with
// the Alt and Ctrl keys the protocol reported.
using ModifierReader = std::function<uint32_t(int parameter)>;

// xterm's reading of the modifier parameter; Meta counts as left Alt.
uint32_t XtermModifiers(int parameter);

struct ByteOptions {
  uint8_t erase = 127;       // the terminal's erase character: that byte is Backspace
  bool lf_is_enter = false;  // input is a byte stream whose lines end with LF
};

// The key of a byte token below 0x80: a character, a control character, Esc (the ESC that
// time decided), or the Linux console's Shift+Tab (ESC Tab); an ESC before it is Alt.
KeyEvent ByteKey(const Token& token, const ByteOptions& options);

// The keys of SS3, CSI and the Linux console's ESC [ [ sequences; nothing for a sequence
// no key sends. KEYPAD_MOVES: SS3 p..y and n are the keypad with Num Lock off (rxvt,
// mlterm), not its digits (xterm).
std::optional<KeyEvent> Ss3Key(const Token& token, bool keypad_moves);
std::optional<KeyEvent> CsiKey(const Token& token, const ModifierReader& modifiers);
std::optional<KeyEvent> LinuxFunctionKey(const Token& token);

}  // namespace console::stream
