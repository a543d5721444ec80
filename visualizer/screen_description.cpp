#include "visualizer/screen_description.hpp"

#include "visualizer/command_line.hpp"
#include "visualizer/cost.hpp"
#include "visualizer/run_record.hpp"
#include "visualizer/sentences.hpp"
#include "visualizer/sort_state.hpp"

namespace visualizer {
namespace {

// JSON, written value by value; the commas go in by themselves.
class Json {
 public:
  Json() { Open('{'); }
  Json& Key(std::string_view key) {
    String(key);
    text_ += ':';
    comma_ = false;
    return *this;
  }
  Json& Open(char bracket) {
    Separate();
    text_ += bracket;
    comma_ = false;
    return *this;
  }
  Json& Close(char bracket) {
    text_ += bracket;
    comma_ = true;
    return *this;
  }
  Json& String(std::string_view value) {
    Separate();
    text_ += '"';
    for (const char c : value) {
      if (c == '"' || c == '\\') {
        text_ += '\\';
        text_ += c;
      } else if (static_cast<unsigned char>(c) < 0x20) {
        static constexpr char kHex[] = "0123456789abcdef";
        text_ += "\\u00";
        text_ += kHex[c >> 4];
        text_ += kHex[c & 15];
      } else {
        text_ += c;
      }
    }
    text_ += '"';
    return *this;
  }
  Json& Number(int32_t value) {
    Separate();
    text_ += std::to_string(value);
    return *this;
  }
  Json& Null() {
    Separate();
    text_ += "null";
    return *this;
  }
  std::string Done() && { return std::move(Close('}').text_); }

 private:
  void Separate() {
    if (comma_) text_ += ',';
    comma_ = true;
  }
  std::string text_;
  bool comma_ = false;
};

const char* RoleOf(TMask mask) {
  switch (mask) {
    case mskHidden: return "gap";
    case mskRed: return "larger";
    case mskGreen: return "notlarger";
    case mskNormal: break;
  }
  return "plain";
}

}  // namespace

std::string DescribeScreen(ScreenKind kind, int32_t i, std::string_view sentence,
                           std::string_view where) {
  const ScreenKindRow& row = RowOf(kind);
  Json json;
  json.Key("kind")
      .String(row.name)
      .Key("line")
      .Number(row.code_line)
      .Key("awaits")
      .String(row.awaits);
  json.Key("sentence").String(sentence).Key("where").String(where);
  const bool frame = row.frame;
  if (kind != ScreenKind::kMenu) {
    json.Key("places").Open('[');
    for (Index k = 1; k <= SIZE; ++k) {
      const TMask mask = frame ? SHOW_MASK[1][k] : mskNormal;
      json.Open('[');
      if (mask == mskHidden)
        json.Null();
      else
        json.Number(frame ? SHOW_VALUES[1][k] : A[k]);
      json.String(RoleOf(mask));
      // Equal values told apart by their order in the array to sort.
      const int32_t order = mask == mskHidden ? 0 : OrderAmongEquals(frame, i, k);
      if (order > 0) json.String(OrderWord(order));
      json.Close(']');
    }
    json.Close(']');
  }
  if (frame || kind == ScreenKind::kPrintout || kind == ScreenKind::kTake) json.Key("i").Number(i);
  if (kind == ScreenKind::kTake || kind == ScreenKind::kHold)
    json.Key("cursor").Number(ThisRun().practice_cursor);
  if (frame) {
    const TMask outcome = SHOW_MASK[2][i];
    json.Key("element").Open('{').Key("place").Number(i).Key("value").Number(SHOW_VALUES[2][i]);
    if (const int32_t order = OrderAmongEquals(true, i, 0); order > 0)
      json.Key("order").String(OrderWord(order));
    json.Key("outcome");
    if (outcome == mskNormal)
      json.Null();
    else
      json.String(RoleOf(outcome));
    json.Close('}');
  }
  json.Key("comparisons").Number(CNT_COMP).Key("moves").Number(CNT_SWAP);
  if (kind == ScreenKind::kTotals) {
    json.Key("array").String(ThisRun().array_name).Key("n").Number(SIZE);
    json.Key("cost").String(CostSentence());
    // The least and the most that a sort of every length the program takes can cost.
    json.Key("bounds").Open('[');
    for (std::size_t n = 1; n <= kMostNumbers; ++n) {
      const CostBounds bounds = BoundsOf(static_cast<int64_t>(n));
      json.Open('[').Number(bounds.least).Number(bounds.most).Close(']');
    }
    json.Close(']');
    json.Key("inversions")
        .Number(ThisRun().law.inversions)
        .Key("stops")
        .Number(ThisRun().law.stops);
    if (Modes.quiz)
      json.Key("asked").Number(ThisRun().score.asked).Key("right").Number(ThisRun().score.right);
    if (Modes.practice)
      json.Key("steps")
          .Number(ThisRun().practised.steps)
          .Key("stepsRight")
          .Number(ThisRun().practised.right);
  }
  return std::move(json).Done();
}

}  // namespace visualizer
