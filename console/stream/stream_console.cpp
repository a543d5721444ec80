#include "console/stream/stream_console.hpp"

namespace console::stream {

void StreamConsole::OpenScreen(int width, int height, const std::array<std::string, 256>& glyphs) {
  width_ = width;
  height_ = height;
  writer_ = std::make_unique<ScreenWriter>(width, height, glyphs);
}

void StreamConsole::GetScreenInfo(ScreenInfo& info) {
  info.size = Coord{static_cast<int16_t>(width_), static_cast<int16_t>(height_)};
  info.window = Rect{0, 0, static_cast<int16_t>(width_ - 1), static_cast<int16_t>(height_ - 1)};
  info.cursor = cursor_;
  info.attribute = kDefaultColours;
}

void StreamConsole::SetCursor(Coord where) {
  if (where.x < 0 || where.y < 0 || where.x >= width_ || where.y >= height_) return;
  cursor_ = where;
}

void StreamConsole::ScrollRect(Rect source, Rect clip, Coord dest, uint8_t fill_char,
                               uint16_t fill_attribute) {
  writer_->ScrollRect(source, clip, dest, fill_char, fill_attribute);
}

uint32_t StreamConsole::PendingInputEvents() {
  Pump();
  return static_cast<uint32_t>(keys_.size());
}

InputEvent StreamConsole::ReadInputEvent() {
  const InputEvent event{EventKind::kKey, keys_.front()};
  keys_.pop_front();
  return event;
}

bool StreamConsole::Queue(const KeyEvent& key) {
  if (keys_.size() >= kTypeAhead) return false;
  keys_.push_back(key);
  return true;
}

void StreamConsole::Flush(bool final) {
  const std::string frame = writer_->TakeFrame(cursor_, final);
  // Colours set are a mode to undo on every way out, a fault's report included: registered
  // before the bytes that set them go out, and let go once they are the defaults again.
  const bool changed = writer_->colours_changed();
  if (changed) ColoursChanged(true);
  if (!frame.empty()) Write(frame);
  if (!changed) ColoursChanged(false);
}

}  // namespace console::stream
