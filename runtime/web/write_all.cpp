// In a browser, standard output is the page's terminal. Lines end as they do on a terminal
// whose output is processed again, the program's modes undone: a line feed goes out as
// CR LF.
#include <emscripten.h>

#include "runtime/platform.hpp"
#include "runtime/runtime.hpp"
#include "runtime/web/page_output.hpp"

namespace runtime {
namespace {

// clang-format off
EM_JS(void, page_write, (const char* bytes, int size), {
  Module.page.write(HEAPU8.slice(bytes, bytes + size));
});
// clang-format on

}  // namespace

void web::WriteToPage(std::string_view bytes) {
  page_write(bytes.data(), static_cast<int>(bytes.size()));
}

int WriteAll(int /*fd*/, std::string_view bytes) {
  while (!bytes.empty()) {
    const std::size_t line_end = bytes.find('\n');
    web::WriteToPage(bytes.substr(0, line_end));
    if (line_end == std::string_view::npos) break;
    web::WriteToPage("\r\n");
    bytes.remove_prefix(line_end + 1);
  }
  return 0;  // the page's terminal takes everything
}

void OutputLost(int /*error*/) {
  Halt(kOutputLost);  // never: a page cannot lose its output
}

void WriteWithin(int fd, std::string_view bytes, int /*budget_ms*/) {
  WriteAll(fd, bytes);
}

}  // namespace runtime
