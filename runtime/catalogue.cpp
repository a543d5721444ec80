#include "runtime/platform.hpp"

namespace runtime {
namespace {

// The programs' own words of po/ru.po, compiled in.
alignas(4) constexpr unsigned char kRussian[] = {
#include "ru_mo.inc"
};

}  // namespace

const unsigned char* RussianCatalogue() {
  return kRussian;
}

}  // namespace runtime
