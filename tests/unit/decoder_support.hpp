// Shared by the key decoder's tests: feeding bytes, and reading back what READKEY makes of
// the key events.
#pragma once

#include <string>
#include <vector>

#include "console/console.hpp"
#include "console/memory/memory_console.hpp"
#include "console/stream/key_decoder.hpp"

namespace console::stream {

// Feeds BYTES in one piece at time 0, or one byte per millisecond.
inline void FeedBytes(KeyDecoder& decoder, const std::string& bytes, bool bytewise,
                      std::vector<Decoded>& out) {
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  if (bytewise) {
    for (std::size_t i = 0; i < bytes.size(); ++i) decoder.Feed(data + i, 1, i, out);
  } else {
    decoder.Feed(data, bytes.size(), 0, out);
  }
}

// The READKEY results for the key events among DECODED, on a fresh console.
inline std::vector<int> ReadKeys(const std::vector<Decoded>& decoded) {
  MemoryConsole screen(80, 25, Rect{0, 0, 79, 24}, 7);
  SCANCODE = 0;
  SPECIALKEY = false;
  Init(screen);
  for (const Decoded& item : decoded)
    if (item.kind == Decoded::Kind::kKey) screen.PushKey(item.key);
  std::vector<int> keys;
  while (KEYPRESSED()) keys.push_back(READKEY());
  return keys;
}

}  // namespace console::stream
