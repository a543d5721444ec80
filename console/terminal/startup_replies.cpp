#include "console/terminal/startup_replies.hpp"

#include <algorithm>

namespace console::terminal {

void StartupReplies::Take(const Decoded& reply, int width, int height) {
  switch (reply.kind) {
    case Decoded::Kind::kKey: break;
    case Decoded::Kind::kKeyboardFlags:
      if (attributes_expected) keyboard_protocol = true;
      break;
    case Decoded::Kind::kBackground:
      if (attributes_expected) background = reply.rgb;
      break;
    case Decoded::Kind::kDeviceAttributes: attributes_expected = false; break;
    case Decoded::Kind::kCursorReport:
      if (!cursor_expected) break;
      cursor_expected = false;
      cursor_reported = true;
      cursor = Coord{static_cast<int16_t>(std::clamp(reply.column - 1, 0, width - 1)),
                     static_cast<int16_t>(std::clamp(reply.row - 1, 0, height - 1))};
      break;
  }
}

}  // namespace console::terminal
