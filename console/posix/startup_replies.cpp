#include "console/posix/startup_replies.hpp"

#include <algorithm>

namespace console::posix {

void StartupReplies::Take(const stream::Decoded& reply, int width, int height) {
  switch (reply.kind) {
    case stream::Decoded::Kind::kKey: break;
    case stream::Decoded::Kind::kKeyboardFlags:
      if (attributes_expected) keyboard_protocol = true;
      break;
    case stream::Decoded::Kind::kDeviceAttributes: attributes_expected = false; break;
    case stream::Decoded::Kind::kCursorReport:
      if (!cursor_expected) break;
      cursor_expected = false;
      cursor_reported = true;
      cursor = Coord{static_cast<int16_t>(std::clamp(reply.column - 1, 0, width - 1)),
                     static_cast<int16_t>(std::clamp(reply.row - 1, 0, height - 1))};
      break;
  }
}

bool KeypadMovesInApplicationMode(std::string_view term) {
  // A family's types: the name alone or followed by a variant ("rxvt-unicode-256color").
  auto of = [term](std::string_view family) {
    return term.starts_with(family) && (term.size() == family.size() || term[family.size()] == '-');
  };
  return of("rxvt") || of("mlterm") || of("st") || of("stterm");
}

}  // namespace console::posix
