#include "visualizer/screen_description.hpp"

#include "visualizer/sort_state.hpp"
#include "visualizer/teaching.hpp"

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

bool IsFrame(std::string_view kind) {
  return kind == "select" || kind == "compare" || kind == "question" || kind == "move";
}

std::string DescribeScreen(std::string_view kind, int32_t i, std::string_view sentence,
                           std::string_view where) {
  Json json;
  json.Key("kind").String(kind).Key("sentence").String(sentence).Key("where").String(where);
  const bool frame = IsFrame(kind);
  if (kind != "menu") {
    json.Key("places").Open('[');
    for (Index k = 1; k <= SIZE; ++k) {
      const TMask mask = frame ? SHOW_MASK[1][k] : mskNormal;
      json.Open('[');
      if (mask == mskHidden)
        json.Null();
      else
        json.Number(frame ? SHOW_VALUES[1][k] : A[k]);
      json.String(RoleOf(mask)).Close(']');
    }
    json.Close(']');
  }
  if (frame || kind == "printout") json.Key("i").Number(i);
  if (frame) {
    const TMask outcome = SHOW_MASK[2][i];
    json.Key("element").Open('{').Key("place").Number(i).Key("value").Number(SHOW_VALUES[2][i]);
    json.Key("outcome");
    if (outcome == mskNormal)
      json.Null();
    else
      json.String(RoleOf(outcome));
    json.Close('}');
  }
  json.Key("comparisons").Number(CNT_COMP).Key("moves").Number(CNT_SWAP);
  if (kind == "totals") {
    json.Key("array").String(ARRAY_NAME).Key("n").Number(SIZE);
    json.Key("inversions").Number(INVERSIONS).Key("stops").Number(STOPS);
    if (TEACHING.quiz) json.Key("asked").Number(ASKED).Key("right").Number(RIGHT);
  }
  return std::move(json).Done();
}

}  // namespace visualizer
