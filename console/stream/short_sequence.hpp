// A short control sequence's bytes, built without an allocation: a cursor motion, a
// colour change. A motion is never longer than the absolute move, which to the far corner
// of the largest screen a console has, 32767 cells a side, takes 14 bytes; a colour change
// takes 15 at most (a reset, bold, underline and two bright colours). None comes near the
// capacity.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace console::stream {

class ShortSequence {
 public:
  void Add(char byte) {
    assert(size_ < sizeof bytes_);
    bytes_[size_++] = byte;
  }
  void Add(std::string_view text) {
    for (char byte : text) Add(byte);
  }
  // N's decimal digits.
  void AddNumber(int n) {
    char digits[12];
    int count = 0;
    do {
      digits[count++] = static_cast<char>('0' + n % 10);
      n /= 10;
    } while (n > 0);
    while (count > 0) Add(digits[--count]);
  }
  std::size_t size() const { return size_; }
  std::string_view view() const { return {bytes_, size_}; }

 private:
  char bytes_[28];  // only the first size_ are set
  uint8_t size_ = 0;
};

}  // namespace console::stream
