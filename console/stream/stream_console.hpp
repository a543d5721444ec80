// What the consoles that speak a byte stream share: the screen writer that turns the
// layer's cells into bytes, the cursor, and the keys decoded and waiting. A platform says
// only how bytes go out (Write) and how keys come in (Pump, and its waits).
#pragma once

#include <array>
#include <deque>
#include <memory>
#include <string>
#include <string_view>

#include "console/platform.hpp"
#include "console/stream/screen_writer.hpp"

namespace console::stream {

class StreamConsole : public Platform {
 public:
  // Key events waiting at most. A PC's type-ahead buffer holds 15 keys; a terminal's paste
  // can hold megabytes. What does not fit is dropped, so that memory stays flat and the keys
  // kept are no more than a long line's.
  static constexpr std::size_t kTypeAhead = 256;

  void GetScreenInfo(ScreenInfo& info) override;
  void SetCursor(Coord where) override;
  Coord Cursor() override { return cursor_; }
  void WriteCell(Coord where, uint8_t character, uint16_t attribute) override {
    writer_->PutCell(where.x, where.y, character, attribute);
  }
  void WriteCells(Coord where, const uint8_t* characters, int count, uint16_t attribute) override {
    writer_->PutCells(where.x, where.y, characters, count, attribute);
  }
  void ScrollRect(Rect source, Rect clip, Coord dest, uint8_t fill_char,
                  uint16_t fill_attribute) override;
  uint32_t PendingInputEvents() override;
  InputEvent ReadInputEvent() override;
  void FinalFlush() override { Flush(true); }

  // Draw without colours.
  void SetMonochrome(bool monochrome) { writer_->SetMonochrome(monochrome); }

 protected:
  // The screen: WIDTH by HEIGHT cells, each code drawn as its glyph in GLYPHS, which must
  // outlive the console.
  void OpenScreen(int width, int height, const std::array<std::string, 256>& glyphs);
  ScreenWriter& writer() { return *writer_; }
  int width() const { return width_; }
  int height() const { return height_; }

  // Sends what has been drawn since the last wait, with the cursor where the layer put it;
  // FINAL: the last output of a run, in the terminal's default colours.
  void Flush(bool final = false);
  // A key event for the program; false when the type-ahead is full and it is dropped.
  bool Queue(const KeyEvent& key);
  bool KeysWaiting() const { return !keys_.empty(); }

  // How the platform's bytes go out.
  virtual void Write(std::string_view bytes) = 0;
  // The colours on the stream now differ from its defaults, or not: a mode to undo on the
  // way out, where the platform can.
  virtual void ColoursChanged(bool /*changed*/) {}
  // Takes in the key events that have come, without waiting.
  virtual void Pump() {}

  Coord cursor_;

 private:
  int width_ = 0;
  int height_ = 0;
  std::unique_ptr<ScreenWriter> writer_;
  std::deque<KeyEvent> keys_;
};

}  // namespace console::stream
