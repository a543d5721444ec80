// Keys from a byte stream: standard input that is a file or a pipe. All of its keys are
// waiting from the start, so they are decoded one at a time, as if each were typed after
// the wait that asks for it; otherwise the step gate would drain them all at once.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "console/stream/key_decoder.hpp"

namespace console::stream {

class StreamKeys {
 public:
  explicit StreamKeys(KeyDecoder& decoder) : decoder_(decoder) {}

  // Decodes up to the next key into OUT, reading more with READ(buffer, size) when needed: it
  // gives the number of bytes read, 0 at the end of the stream, -1 when there is nothing yet.
  // False when READ had nothing yet.
  template <typename Read>
  bool Next(Read read, std::vector<Decoded>& out) {
    const std::size_t first = out.size();
    while (!ended_ && !HasKey(out, first)) {
      if (at_ == stream_.size()) {
        uint8_t buffer[kReadSize];
        const long got = read(buffer, sizeof buffer);
        if (got < 0) return false;
        if (got == 0) {
          ended_ = true;
          decoder_.Finish(out);
        } else {
          stream_.assign(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(got));
          at_ = 0;
        }
      } else {
        // A stream has no timing: every byte arrives at the same moment.
        decoder_.Feed(reinterpret_cast<const uint8_t*>(stream_.data() + at_), 1, 0, out);
        ++at_;
      }
    }
    return true;
  }
  bool ended() const { return ended_; }

 private:
  static constexpr std::size_t kReadSize = 4096;
  static bool HasKey(const std::vector<Decoded>& out, std::size_t first) {
    for (std::size_t i = first; i < out.size(); ++i)
      if (out[i].kind == Decoded::Kind::kKey) return true;
    return false;
  }

  KeyDecoder& decoder_;
  std::string stream_;  // bytes read and not decoded yet, from AT_ on
  std::size_t at_ = 0;
  bool ended_ = false;
};

}  // namespace console::stream
