// Write and read statements on the console's standard files, built from the text-file
// steps: each item goes into OUTPUT's buffer, the statement's end draws them, and every
// step is checked for a pending I/O error.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace console {

// One item of a write statement: a string or an integer, right-aligned in WIDTH.
struct Item {
  Item(std::string_view string, int32_t field = 0) : is_text(true), text(string), width(field) {}
  Item(const char* string, int32_t field = 0) : Item(std::string_view(string), field) {}
  Item(const std::string& string, int32_t field = 0) : Item(std::string_view(string), field) {}
  Item(int32_t number, int32_t field = 0) : is_text(false), value(number), width(field) {}

  bool is_text;
  std::string_view text;
  int32_t value = 0;
  int32_t width;
};

// write(OUTPUT, items...) and writeln(OUTPUT, items...).
void Write(std::initializer_list<Item> items);
void WriteLn(std::initializer_list<Item> items = {});
// readln(INPUT): waits for a line ended with Enter and discards it.
void ReadLn();

}  // namespace console
