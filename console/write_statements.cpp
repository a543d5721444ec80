#include "console/write_statements.hpp"

#include "console/console.hpp"

namespace console {
namespace {

void WriteItems(std::initializer_list<Item> items) {
  for (const Item& item : items) {
    if (item.is_text) {
      WRITE_TEXT_ANSISTR(item.width, OUTPUT, item.text);
    } else {
      WRITE_TEXT_SINT(item.width, OUTPUT, item.value);
    }
    IOCHECK();
  }
}

}  // namespace

void Write(std::initializer_list<Item> items) {
  WriteItems(items);
  WRITE_END(OUTPUT);
  IOCHECK();
}

void WriteLn(std::initializer_list<Item> items) {
  WriteItems(items);
  WRITELN_END(OUTPUT);
  IOCHECK();
}

void ReadLn() {
  READLN_END(INPUT);
  IOCHECK();
}

}  // namespace console
