#include "visualizer/run_record.hpp"

namespace visualizer {
namespace {

RunRecord Record;

}  // namespace

Teaching Modes;

RunRecord& ThisRun() {
  return Record;
}

void StartRun(int32_t inversions) {
  Record.law = {inversions, 0};
  Record.score = {};
  Record.practised = {};
}

}  // namespace visualizer
