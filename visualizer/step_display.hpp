// The step display: one step of the sort as a three-row frame, "i = n", then the array
// with the cells coloured by what they are, then the element being inserted.
#pragma once

#include <cstdint>
#include <string_view>

#include "visualizer/sort_state.hpp"

namespace visualizer {

// Updates the picture for step OP of element I (J: the compared position, or the one left
// of the hole), counts it, draws it and waits at the step gate; under --explain the frame
// says the step in words, under --quiz a comparison's outcome is asked before it is shown.
void SHOWSTEP(TOperation op, int32_t i, int32_t j);
// WORDS (UTF-8) in the field where --explain puts a step's sentence, from column 42 of ROW,
// 38 columns wide, blanks after them; the cursor is left after the field.
void WriteSentenceField(uint8_t row, std::string_view words);

}  // namespace visualizer
