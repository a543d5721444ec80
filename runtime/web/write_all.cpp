// In a browser, standard output is the page's terminal. Lines end as they do on a terminal
// whose output is processed again, the program's modes undone: a line feed goes out as
// CR LF.
#include "runtime/write_all.hpp"

#include <emscripten.h>

namespace runtime {
namespace {

// clang-format off
EM_JS(void, page_write_output, (const char* bytes, int size), {
  Module.page.write(HEAPU8.slice(bytes, bytes + size));
});
// clang-format on

}  // namespace

void WriteAll(int /*fd*/, std::string_view bytes) {
  while (!bytes.empty()) {
    const std::size_t line_end = bytes.find('\n');
    const std::string_view line = bytes.substr(0, line_end);
    page_write_output(line.data(), static_cast<int>(line.size()));
    if (line_end == std::string_view::npos) return;
    page_write_output("\r\n", 2);
    bytes.remove_prefix(line_end + 1);
  }
}

void WriteWithin(int fd, std::string_view bytes, int /*budget_ms*/) {
  WriteAll(fd, bytes);
}

}  // namespace runtime
