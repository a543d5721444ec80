// The web page that the program runs on, as the console sees it: a terminal to write to,
// and the keyboard events the page has caught. browser_page.cpp is the page of a browser;
// the tests bring their own.
#pragma once

#include <cstdint>
#include <string_view>

#include "console/web/browser_keys.hpp"

namespace console::web {

class Page {
 public:
  virtual ~Page() = default;
  // Shows BYTES on the page's terminal; they are copied before this returns.
  virtual void Write(std::string_view bytes) = 0;
  // Takes the oldest key event the page has caught; false when there is none. The event's
  // strings stay valid until the next call.
  virtual bool NextKey(BrowserKey& event) = 0;
  // Returns once the page has caught a key event, at once when it holds one already, or
  // after TIMEOUT_MS (-1: no limit).
  virtual void WaitForKey(int timeout_ms) = 0;
  // Milliseconds on the page's clock.
  virtual uint64_t NowMs() = 0;
};

}  // namespace console::web
