// Feeds the key decoder arbitrary bytes in arbitrary pieces and pauses, and checks that
// every event is well formed and that a key typed after any junk and a pause arrives.
//
// Input layout: one byte of options, then chunks of [length & 15, milliseconds to wait,
// bytes...].
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "console/posix/charset.hpp"
#include "console/stream/key_decoder.hpp"

using console::stream::Decoded;
using console::stream::DecoderOptions;
using console::stream::KeyDecoder;

namespace {

const DecoderOptions& BaseOptions() {
  static const DecoderOptions options = [] {
    DecoderOptions o;
    o.cp866_high = console::posix::LoadCharset("UTF-8").cp866_high;
    return o;
  }();
  return options;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckWellFormed(const std::vector<Decoded>& events) {
  for (const Decoded& item : events) {
    if (item.kind == Decoded::Kind::kCursorReport) {
      Check(item.row >= -1 && item.column >= -1);
      continue;
    }
    if (item.kind == Decoded::Kind::kKeyboardFlags || item.kind == Decoded::Kind::kDeviceAttributes)
      continue;
    Check(item.kind == Decoded::Kind::kKey);
    Check(item.key.scan_code < 0x80);        // a set-1 make code
    Check(item.key.control_state <= 0x1FF);  // only the defined flags
    Check(item.key.virtual_key < 0x100);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  DecoderOptions options = BaseOptions();
  options.erase = (data[0] & 1) ? 8 : 127;
  options.lf_is_enter = (data[0] & 2) != 0;
  KeyDecoder decoder(options);
  if (data[0] & 4) decoder.ExpectReplies(true);
  if (data[0] & 8) decoder.SetKittyKeyboard(true);

  std::vector<Decoded> events;
  uint64_t now = 0;
  size_t i = 1;
  while (i + 2 <= size) {
    const size_t length = data[i] & 15;
    now += data[i + 1];
    i += 2;
    const size_t take = length < size - i ? length : size - i;
    decoder.Feed(data + i, take, now, events);
    i += take;
    CheckWellFormed(events);
    events.clear();
  }

  // The replies' wait ends; a pause, then a plain key: it must come out, last, whatever
  // came before.
  decoder.ExpectReplies(false);
  now += KeyDecoder::kTimeoutMs + 1;
  const uint8_t key = 'a';
  decoder.Feed(&key, 1, now, events);
  CheckWellFormed(events);
  Check(!events.empty());
  const Decoded& last = events.back();
  Check(last.kind == Decoded::Kind::kKey && last.key.character == 'a' && last.key.scan_code == 30 &&
        last.key.control_state == 0);
  Check(!decoder.Deadline().has_value());
  return 0;
}
