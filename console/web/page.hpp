// The web page that the program runs on, as the console sees it: a terminal to write to,
// and the keyboard events the page has caught. browser_page.cpp is the page of a browser;
// the tests bring their own.
#pragma once

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
  // Returns once the page has caught a key event, at once when it holds one already.
  virtual void WaitForKey() = 0;
};

}  // namespace console::web
