#include "console/windows/windows_keys.hpp"

#include <vector>

namespace console::windows {

KeyEvent ConsoleKeys::KeyOf(const ConsoleInput& input) const {
  int code = input.character >= 0xD800 && input.character <= 0xDFFF
                 ? -1
                 : ToCp866(static_cast<char32_t>(input.character), high_);
  // Esc without Alt is Esc, whatever character the event carries: Wine's console in a Unix
  // terminal gives it none.
  if (input.scan_code == scan::kEscape && (input.control_state & kAltPressed) == 0) code = 27;
  return MakeKey(input.scan_code, code < 0 ? 0 : static_cast<uint8_t>(code), input.control_state,
                 input.virtual_key, input.key_down);
}

InputEvent ConsoleKeys::Read() {
  const ConsoleInput input = api_.ReadInput();
  if (!input.is_key) return InputEvent{EventKind::kOther, {}};
  return InputEvent{EventKind::kKey, KeyOf(input)};
}

ByteKeys::ByteKeys(ConsoleApi& api, const Cp866High& high) : api_(api) {
  stream::DecoderOptions options;
  options.lf_is_enter = true;
  options.cp866_high = high;
  decoder_ = std::make_unique<stream::KeyDecoder>(options);
  stream_keys_ = std::make_unique<stream::StreamKeys>(*decoder_);
}

InputEvent ByteKeys::Read() {
  const KeyEvent key = keys_.front();
  keys_.pop_front();
  return InputEvent{EventKind::kKey, key};
}

void ByteKeys::Wait(uint32_t /*timeout_ms*/) {
  if (!keys_.empty() || ended_) return;
  std::vector<stream::Decoded> decoded;
  stream_keys_->Next(
      [this](uint8_t* buffer, std::size_t size) { return api_.ReadBytes(buffer, size); }, decoded);
  ended_ = stream_keys_->ended();
  for (const stream::Decoded& item : decoded)
    if (item.kind == stream::Decoded::Kind::kKey) keys_.push_back(item.key);
}

}  // namespace console::windows
