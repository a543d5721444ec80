// Where a Windows program's keys come from: the console's own exact key events, or, from a
// file or a pipe, the keys of a byte stream, decoded as on POSIX. Either console takes one.
#pragma once

#include <deque>
#include <memory>

#include "console/cp866.hpp"
#include "console/platform.hpp"
#include "console/stream/key_decoder.hpp"
#include "console/stream/stream_keys.hpp"
#include "console/windows/console_api.hpp"

namespace console::windows {

class KeySource {
 public:
  virtual ~KeySource() = default;
  // Events waiting; never waits.
  virtual uint32_t Pending() = 0;
  // The oldest; only when one is waiting.
  virtual InputEvent Read() = 0;
  // Until input comes, TIMEOUT_MS at most (ConsoleApi::kForever: no limit).
  virtual void Wait(uint32_t timeout_ms) = 0;
  // No input can ever come again, and none is waiting.
  virtual bool Ended() = 0;
};

// The console's input events, each converted to the PC's key event.
class ConsoleKeys : public KeySource {
 public:
  // HIGH gives the Unicode of the code page 866 codes 0x80 to 0xFF.
  ConsoleKeys(ConsoleApi& api, const Cp866High& high) : api_(api), high_(high) {}
  uint32_t Pending() override { return api_.NumberOfInputEvents(); }
  InputEvent Read() override;
  void Wait(uint32_t timeout_ms) override { api_.WaitForInput(timeout_ms); }
  bool Ended() override { return false; }

  // The key event of an input record; the character in code page 866, 0 where it has none.
  KeyEvent KeyOf(const ConsoleInput& input) const;

 private:
  ConsoleApi& api_;
  Cp866High high_;
};

// The keys of standard input as a byte stream: a line feed is Enter. A wait reads what is
// there, which for a pipe may be until it ends.
class ByteKeys : public KeySource {
 public:
  ByteKeys(ConsoleApi& api, const Cp866High& high);
  uint32_t Pending() override { return static_cast<uint32_t>(keys_.size()); }
  InputEvent Read() override;
  void Wait(uint32_t timeout_ms) override;
  bool Ended() override { return ended_ && keys_.empty(); }

 private:
  ConsoleApi& api_;
  std::unique_ptr<stream::KeyDecoder> decoder_;
  std::unique_ptr<stream::StreamKeys> stream_keys_;
  std::deque<KeyEvent> keys_;  // one read's keys at most
  bool ended_ = false;
};

}  // namespace console::windows
