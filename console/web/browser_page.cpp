// The page of a browser: the only file that talks to JavaScript. The page (web/run.js)
// hands the program an object `page` with the terminal's write, the key events it caught
// and a promise for the next one; the program waits on that promise, suspended by
// Asyncify, with no timer running.
#include <emscripten.h>

#include "console/native_console.hpp"
#include "console/web/web_console.hpp"
#include "runtime/web/page_output.hpp"

namespace console::web {
namespace {

// clang-format off
// The oldest key event: its code and key into the buffers, the modifiers returned with 256
// for a press; -1 when there is none.
EM_JS(int, page_next_key, (char* code, int code_size, char* key, int key_size), {
  const event = Module.page.keys.shift();
  if (event === undefined) return -1;
  stringToUTF8(event.code, code, code_size);
  stringToUTF8(event.key, key, key_size);
  return (event.down ? 256 : 0) | event.modifiers;
});

EM_ASYNC_JS(void, page_wait_for_key, (int timeout_ms), {
  await Module.page.waitForKey(timeout_ms);
});

EM_JS(void, page_describe, (const char* description, int size), {
  Module.page.note(JSON.parse(UTF8ToString(description, size)));
});
// clang-format on

constexpr int kPressed = 256;

class BrowserPage : public Page {
 public:
  void Write(std::string_view bytes) override { runtime::web::WriteToPage(bytes); }

  bool NextKey(BrowserKey& event) override {
    const int got = page_next_key(code_, sizeof code_, key_, sizeof key_);
    if (got < 0) return false;
    event.down = (got & kPressed) != 0;
    event.code = code_;
    event.key = key_;
    event.modifiers = static_cast<uint32_t>(got & (kPressed - 1));
    return true;
  }

  void WaitForKey(int timeout_ms) override { page_wait_for_key(timeout_ms); }
  uint64_t NowMs() override { return static_cast<uint64_t>(emscripten_get_now()); }

 private:
  // Longer names than these are no key's.
  char code_[32] = {};
  char key_[32] = {};
};

constexpr Cp866High kCp866High =
#include "cp866_high.inc"
    ;

}  // namespace
}  // namespace console::web

namespace console {

Platform& OpenNativeConsole(const ConsoleOptions& options) {
  static web::BrowserPage page;
  static web::WebConsole console(page, web::kCp866High);
  console.SetMonochrome(options.monochrome);
  return console;
}

DescriptionSink NativeDescriptionSink() {
  return [](std::string_view description) {
    web::page_describe(description.data(), static_cast<int>(description.size()));
  };
}

}  // namespace console
