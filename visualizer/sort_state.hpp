// What the visualizer knows: the four data sets, the colour and caption tables, and the
// state the sort and the step display share.
#pragma once

#include <array>
#include <cstdint>

namespace visualizer {

// A position 0 to 10; 0 is the place left of the first element.
using Index = int8_t;

enum TOperation : uint8_t { opSelect = 0, opCompare = 1, opMove = 2 };
enum TMask : uint8_t { mskHidden = 0, mskNormal = 1, mskRed = 2, mskGreen = 3 };

// An array indexed from 1 to N.
template <typename T, int N>
struct OneBased {
  T& operator[](int k) { return items[static_cast<std::size_t>(k - 1)]; }
  const T& operator[](int k) const { return items[static_cast<std::size_t>(k - 1)]; }
  std::array<T, N> items{};
};

using TArray = OneBased<int32_t, 10>;

// The data sets of the menu: in order, in reverse order, all zeros, medium order.
extern const TArray B, C, D, E;

// Colour of each display state: black (looks empty), light grey, light red, light green.
extern const int32_t OUTPUTCOLOR[4];
// Caption of each step's frame.
extern const char* const STRACTION[3];

// Every number of a printout or a frame is right-aligned in a field of four columns.
constexpr int32_t kFieldWidth = 4;

constexpr uint8_t KBESC = 27;
constexpr uint8_t KBSPACE = 32;
// Line ends the step display writes before it moves up near the bottom of the window.
constexpr uint8_t SCROLLBY = 4;

extern TArray A;  // the working array, sorted in place
// How many positions of A are in use, from 1: all ten but for an array of the user's own.
extern Index SIZE;
extern int32_t X;         // the value being inserted
extern int32_t CNT_COMP;  // comparisons so far
extern int32_t CNT_SWAP;  // moves so far
// The selection frame of the current element is still to be shown.
extern bool TODO;
// The two-row step picture, [row 1..2][column 1..10]; kept between frames.
extern OneBased<OneBased<TMask, 10>, 2> SHOW_MASK;
extern OneBased<TArray, 2> SHOW_VALUES;

// Where the element at PLACE (0: the element being inserted, which came from I) stands, by
// the array to sort, among those of its value as the screen shows them (FRAME: the
// picture's first row, its gap left out, and the element; otherwise A): 1 for the first,
// 2 for the second; 0 when no other has its value. The sort keeps equal values in their
// order, so the order now is the order then.
int32_t OrderAmongEquals(bool frame, int32_t i, int32_t place);

}  // namespace visualizer
