#include <emscripten.h>

#include "runtime/platform.hpp"
#include "runtime/words.hpp"

namespace runtime {
namespace {

// clang-format off
// True when the page shows Russian.
EM_JS(int, page_speaks_russian, (), {
  return Module.page && Module.page.language === "ru" ? 1 : 0;
});
// clang-format on

}  // namespace

// The page's language, which the page gives its program.
Language UserLanguage() {
  return page_speaks_russian() != 0 ? Language::kRussian : Language::kEnglish;
}

std::string ForOutput(std::string_view text) {
  return std::string(text);
}

}  // namespace runtime
