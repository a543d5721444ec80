#include "visualizer/sort_state.hpp"

namespace visualizer {

const TArray B{{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}};
const TArray C{{9, 8, 7, 6, 5, 4, 3, 2, 1, 0}};
const TArray D{{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}};
const TArray E{{44, 55, 12, 42, 94, 18, 6, 67, 38, 78}};

const int32_t OUTPUTCOLOR[4] = {0, 7, 12, 10};
const char* const STRACTION[3] = {"current selection", "comparison", "moving"};

TArray A;
Index SIZE = 10;
int32_t X = 0;
int32_t CNT_COMP = 0;
int32_t CNT_SWAP = 0;
bool TODO = false;
OneBased<OneBased<TMask, 10>, 2> SHOW_MASK;
OneBased<TArray, 2> SHOW_VALUES;

}  // namespace visualizer
