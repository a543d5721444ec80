#include "runtime/platform.hpp"

namespace runtime {
namespace {

// The programs' own words of po/ru.po, compiled in.
alignas(4) constexpr unsigned char kRussian[] = {
#include "ru_mo.inc"
};

}  // namespace

std::string_view RussianCatalogue() {
  return {reinterpret_cast<const char*>(kRussian), sizeof kRussian};
}

}  // namespace runtime
