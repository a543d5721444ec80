#include <emscripten.h>

#include <string>

#include "runtime/platform.hpp"

namespace runtime {
namespace {

// clang-format off
// The size of the catalogue that the page loaded for its words, 0 when it has none (an
// English page loads none).
EM_JS(int, page_catalogue_size, (), {
  return Module.page && Module.page.catalogue ? Module.page.catalogue.length : 0;
});
// Copies it to TO.
EM_JS(void, page_catalogue_copy, (unsigned char* to), {
  HEAPU8.set(Module.page.catalogue, to);
});
// clang-format on

}  // namespace

// The page's catalogue: the page sends it once, for itself and its program.
std::string_view RussianCatalogue() {
  static const std::string catalogue = [] {
    std::string bytes(static_cast<std::size_t>(page_catalogue_size()), '\0');
    if (!bytes.empty()) page_catalogue_copy(reinterpret_cast<unsigned char*>(bytes.data()));
    return bytes;
  }();
  return catalogue;
}

}  // namespace runtime
