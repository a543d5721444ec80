// The Windows console calls the platform makes, behind an interface of plain types, so that
// the platform's logic is tested with a recording fake here and runs on kernel32 there.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "console/platform.hpp"

namespace console::windows {

// One cell as WriteConsoleOutputW takes it: a UTF-16 character and a PC attribute.
struct ConsoleCell {
  char16_t character = u' ';
  uint16_t attribute = 0;
  friend bool operator==(ConsoleCell, ConsoleCell) = default;
};

// One input record as ReadConsoleInputW gives it; only key events carry fields.
struct ConsoleInput {
  bool is_key = true;
  bool key_down = true;
  uint16_t virtual_key = 0;
  uint16_t scan_code = 0;
  char16_t character = 0;
  uint32_t control_state = 0;
};

class ConsoleApi {
 public:
  virtual ~ConsoleApi() = default;

  // Output. False when standard output is no console.
  virtual bool GetScreenBufferInfo(ScreenInfo& info) = 0;
  // The cells of RECT, row by row.
  virtual std::vector<ConsoleCell> ReadOutput(Rect rect) = 0;
  virtual void WriteOutput(Rect rect, const std::vector<ConsoleCell>& cells) = 0;
  virtual void ScrollScreenBuffer(Rect source, Rect clip, Coord dest, ConsoleCell fill) = 0;
  virtual void SetCursorPosition(Coord where) = 0;

  // Input. False when standard input is no console.
  virtual bool InputIsConsole() = 0;
  virtual uint32_t NumberOfInputEvents() = 0;
  virtual ConsoleInput ReadInput() = 0;
  // Blocks until input is there (the input handle is signalled), TIMEOUT_MS at most
  // (kForever: no limit).
  static constexpr uint32_t kForever = 0xFFFFFFFF;
  virtual void WaitForInput(uint32_t timeout_ms) = 0;
  // Milliseconds since the system started.
  virtual uint64_t NowMs() = 0;

  // Standard input and output that are files or pipes.
  // Reads what is there, at most SIZE bytes; 0 at the end.
  virtual long ReadBytes(uint8_t* buffer, std::size_t size) = 0;
  // Writes all of BYTES; an output that is gone for good ends the run.
  virtual void WriteBytes(std::string_view bytes) = 0;
  // The colours on standard output now differ from its defaults, or not: while they do,
  // every way out sets the defaults again first.
  virtual void ColoursChanged(bool changed) = 0;
};

}  // namespace console::windows
