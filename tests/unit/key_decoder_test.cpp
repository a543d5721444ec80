#include "console/stream/key_decoder.hpp"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "console/console.hpp"
#include "console/memory/memory_console.hpp"
#include "console/posix/charset.hpp"
#include "unit/decoder_support.hpp"

namespace console::stream {
namespace {

DecoderOptions Utf8Options() {
  DecoderOptions options;
  options.cp866_high = posix::LoadCharset("UTF-8").cp866_high;
  return options;
}

// What READKEY returns for the key events decoded from BYTES: fed in one piece, or one
// byte per millisecond; then time runs out on anything pending.
std::vector<int> Keys(const std::string& bytes, bool bytewise,
                      const DecoderOptions& options = Utf8Options()) {
  KeyDecoder decoder(options);
  std::vector<Decoded> decoded;
  FeedBytes(decoder, bytes, bytewise, decoded);
  decoder.Expire(bytes.size() + KeyDecoder::kTimeoutMs, decoded);
  EXPECT_FALSE(decoder.Deadline().has_value());
  return ReadKeys(decoded);
}

struct Case {
  const char* bytes;
  std::vector<int> keys;
};

void ExpectTable(const std::vector<Case>& table, const DecoderOptions& options = Utf8Options()) {
  for (const Case& c : table) {
    EXPECT_EQ(Keys(c.bytes, false, options), c.keys)
        << "whole: " << ::testing::PrintToString(c.bytes);
    EXPECT_EQ(Keys(c.bytes, true, options), c.keys)
        << "bytewise: " << ::testing::PrintToString(c.bytes);
  }
}

TEST(KeyDecoder, PlainKeysAndControlCharacters) {
  ExpectTable({
      {" ", {32}},
      {"a", {'a'}},
      {"Z", {'Z'}},
      {"~", {'~'}},
      {"\r", {13}},
      {"\t", {9}},
      {"\x7f", {8}},
      {"\x08", {8}},
      {"\x01", {1}},
      {"\x1a", {26}},
      {"\n", {10}},
      {std::string("\0", 1).c_str(), {}},
      {"\x1c", {28}},
      {"\x1f", {31}},
      {"\x13", {19}},
  });
  EXPECT_EQ(Keys(std::string("\0", 1), false), (std::vector<int>{0, 3})) << "Ctrl+@";
}

TEST(KeyDecoder, EraseCharacterIsBackspaceWhicheverItIs) {
  DecoderOptions options = Utf8Options();
  options.erase = 8;
  EXPECT_EQ(Keys("\x08", false, options), std::vector<int>{8});
  EXPECT_EQ(Keys("\x7f", false, options), std::vector<int>{127}) << "Ctrl+Backspace";
}

TEST(KeyDecoder, LineFeedIsEnterOnlyInAByteStream) {
  DecoderOptions options = Utf8Options();
  options.lf_is_enter = true;
  EXPECT_EQ(Keys("\n", false, options), std::vector<int>{13});
}

TEST(KeyDecoder, XtermAndVteForms) {
  ExpectTable({
      {"\x1b[A", {0, 72}},      {"\x1b[B", {0, 80}},     {"\x1b[C", {0, 77}},
      {"\x1b[D", {0, 75}},      {"\x1b[H", {0, 71}},     {"\x1b[F", {0, 79}},
      {"\x1b[E", {0, 76}},      {"\x1bOA", {0, 72}},     {"\x1bOH", {0, 71}},
      {"\x1bOP", {0, 59}},      {"\x1bOS", {0, 62}},     {"\x1b[15~", {0, 63}},
      {"\x1b[17~", {0, 64}},    {"\x1b[21~", {0, 68}},   {"\x1b[23~", {0, 133}},
      {"\x1b[24~", {0, 134}},   {"\x1b[2~", {0, 82}},    {"\x1b[3~", {0, 83}},
      {"\x1b[5~", {0, 73}},     {"\x1b[6~", {0, 81}},    {"\x1b[Z", {0, 15}},
      {"\x1b[1;5A", {0, 141}},  {"\x1b[1;5D", {0, 115}}, {"\x1b[1;2A", {0, 72}},
      {"\x1b[1;5H", {0, 119}},  {"\x1b[1;2P", {0, 84}},  {"\x1b[1;5P", {0, 94}},
      {"\x1b[1;3P", {0, 104}},  {"\x1b[15;2~", {0, 88}}, {"\x1b[24;5~", {0, 138}},
      {"\x1b[23;3~", {0, 139}}, {"\x1b[3;5~", {0, 147}}, {"\x1b[3;3~", {0, 163}},
      {"\x1b[1;2R", {0, 86}},   {"\x1b[5A", {0, 141}},   {"\x1bO2P", {0, 84}},
      {"\x1b[1;3A", {}},  // Alt with a grey cursor key: an Alt composition step
  });
}

TEST(KeyDecoder, KittyFootAndGhosttyForms) {
  ExpectTable({
      {"\x1b[13~", {0, 61}},
      {"\x1b[13;2~", {0, 86}},
      {"\x1b[97;5u", {1}},
      {"\x1b[27;5;97~", {1}},
      {"\x1b[27u", {27}},
      {"\x1b[1;1:3A", {}},  // a release
  });
}

TEST(KeyDecoder, RxvtForms) {
  ExpectTable({
      {"\x1b[7~", {0, 71}},
      {"\x1b[8~", {0, 79}},
      {"\x1b[11~", {0, 59}},
      {"\x1b[14~", {0, 62}},
      {"\x1b[3$", {0, 83}},
      {"\x1b[5^", {0, 132}},
      {"\x1b[2@", {0, 146}},
      {"\x1b[a", {0, 72}},
      {"\x1bOa", {0, 141}},
      {"\x1bOd", {0, 115}},
      // Shift with F3 to F10, and Ctrl with them; Shift+F1 and F2 are F11 and F12.
      {"\x1b[25~", {0, 86}},
      {"\x1b[26~", {0, 87}},
      {"\x1b[28~", {0, 88}},
      {"\x1b[29~", {0, 89}},
      {"\x1b[31~", {0, 90}},
      {"\x1b[34~", {0, 93}},
      {"\x1b[25^", {0, 96}},
  });
}

TEST(KeyDecoder, LinuxConsoleTmuxAndScreenForms) {
  ExpectTable({
      {"\x1b[[A", {0, 59}},
      {"\x1b[[E", {0, 63}},
      {"\x1b[1~", {0, 71}},
      {"\x1b[4~", {0, 79}},
      {"\x1b[G", {0, 76}},
      {"\x1b\t", {0, 15}},
      {"\x1bOl", {'+'}},
  });
}

TEST(KeyDecoder, ApplicationKeypad) {
  ExpectTable({
      {"\x1bOM", {0, 28}},
      {"\x1bOo", {0, 53}},
      {"\x1bOj", {'*'}},
      {"\x1bOm", {'-'}},
      {"\x1bOk", {'+'}},
      {"\x1bOp", {'0'}},
      {"\x1bOy", {'9'}},
      {"\x1bOn", {'.'}},
      // mlterm's modifiers: Ctrl, Alt (behind the Alt ESC too) and Shift with keypad keys.
      {"\x1bO0;5M", {0, 28}},
      {"\x1bO0;2x", {'8'}},
      {"\x1b\x1bO0;3o", {0, 164}},
  });
  // rxvt and mlterm send these for the keys with Num Lock off: Ins, End, Up, 5, Del; and
  // mlterm Ctrl+keypad 5 and Ctrl+keypad 8 (Up).
  DecoderOptions moves = Utf8Options();
  moves.keypad_moves = true;
  ExpectTable(
      {
          {"\x1bOp", {0, 82}},
          {"\x1bOq", {0, 79}},
          {"\x1bOx", {0, 72}},
          {"\x1bOu", {0, 76}},
          {"\x1bOn", {0, 83}},
          {"\x1bO0;5u", {0, 143}},
          {"\x1bO0;5x", {0, 141}},
          {"\x1bOM", {0, 28}},
      },
      moves);
}

TEST(KeyDecoder, AltAsEscapePrefixIsLeftAltWithTheUsScanCode) {
  ExpectTable({
      {"\x1b"
       "d",
       {0, 32}},
      {"\x1b"
       "D",
       {0, 32}},
      {"\x1b]", {0, 27}},
      {"\x1b[", {0, 26}},
      {"\x1bO", {0, 24}},
      {"\x1b"
       "1",
       {0, 120}},
      {"\x1b=", {0, 131}},
      {"\x1b\r", {0, 166}},
      {"\x1b ", {0, 57}},
      {"\x1b\x1b", {0, 1}},
      {"\x1b\x7f", {0, 14}},
      {"\x1b\x1b[A", {}},
      {"\x1b\xd0\xb2", {0, 32}},  // Alt with the Cyrillic letter on the D key
  });
}

TEST(KeyDecoder, LoneEscIsDecidedAfterTheTimeout) {
  KeyDecoder decoder(Utf8Options());
  std::vector<Decoded> out;
  decoder.Feed(reinterpret_cast<const uint8_t*>("\x1b"), 1, 1000, out);
  ASSERT_TRUE(decoder.Deadline().has_value());
  EXPECT_EQ(*decoder.Deadline(), 1000 + KeyDecoder::kTimeoutMs);
  decoder.Expire(1000 + KeyDecoder::kTimeoutMs - 1, out);
  EXPECT_TRUE(out.empty());
  decoder.Expire(1000 + KeyDecoder::kTimeoutMs, out);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].key.character, 27);
  EXPECT_EQ(out[0].key.control_state, 0u);
  EXPECT_FALSE(decoder.Deadline().has_value());
}

TEST(KeyDecoder, SequenceInPiecesWithinTheTimeoutIsOneKey) {
  KeyDecoder decoder(Utf8Options());
  std::vector<Decoded> out;
  decoder.Feed(reinterpret_cast<const uint8_t*>("\x1b"), 1, 0, out);
  // Each piece comes just inside the time-out of the one before.
  constexpr uint64_t kGap = KeyDecoder::kTimeoutMs - 1;
  decoder.Feed(reinterpret_cast<const uint8_t*>("[1;"), 3, kGap, out);
  decoder.Feed(reinterpret_cast<const uint8_t*>("5A"), 2, 2 * kGap, out);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].key.scan_code, 72);
  EXPECT_EQ(out[0].key.control_state, kLeftCtrlPressed | kEnhancedKey);
}

TEST(KeyDecoder, ByteAfterTheTimeoutIsAKeyOfItsOwn) {
  KeyDecoder decoder(Utf8Options());
  std::vector<Decoded> out;
  decoder.Feed(reinterpret_cast<const uint8_t*>("\x1b"), 1, 0, out);
  decoder.Feed(reinterpret_cast<const uint8_t*>("x"), 1, KeyDecoder::kTimeoutMs + 10, out);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0].key.character, 27);
  EXPECT_EQ(out[1].key.character, 'x');
  EXPECT_EQ(out[1].key.control_state & kLeftAltPressed, 0u);
}

TEST(KeyDecoder, UnaskedSequencesAreSkippedAndTheNextKeySurvives) {
  ExpectTable({
      {"\x1b[?1;2ca", {'a'}},  // device attributes reply
      {"\x1b[?1u"
       "b",
       {'b'}},                     // keyboard flags reply
      {"\x1b[?2004;1$yc", {'c'}},  // mode report
      {"\x1b]11;rgb:0000/0000/0000\x07"
       "d",
       {'d'}},                                       // OSC ended by BEL
      {"\x1b]11;rgb:ffff/ffff/ffff\x1b\\e", {'e'}},  // OSC ended by ST
      {"\x1bP>|xterm(390)\x1b\\f", {'f'}},           // DCS
      {"\x1b_Gi=1;OK\x1b\\g", {'g'}},                // APC
      {"\x1b[M !!h", {'h'}},                         // X10 mouse
      {"\x1b[<0;10;5Mi\x1b[<0;10;5mj", {'i', 'j'}},  // SGR mouse
      {"\x1b[Ik\x1b[Ol", {'k', 'l'}},                // focus
      {"\x1b[200~mn\x1b[201~", {'m', 'n'}},          // paste markers
      {"\x1b[12;40Ro", {'o'}},                       // a cursor report nobody asked for
      {"\x1b]0;\x1b[Ap", {0, 72, 'p'}},              // ESC inside a string starts anew
      {"\x1b[1;\x18q", {'q'}},                       // CAN cancels
  });
}

TEST(KeyDecoder, OverlongSequenceIsSkippedToItsEnd) {
  const std::string junk = "\x1b[" + std::string(500, '1') + "m" + "r";
  EXPECT_EQ(Keys(junk, false), std::vector<int>{'r'});
  EXPECT_EQ(Keys(junk, true), std::vector<int>{'r'});
}

// What a decoder awaiting the start-up replies makes of BYTES, fed in PIECES that arrive
// at the given milliseconds; then the wait ends and time runs out on what is pending.
std::vector<Decoded> DecodeAwaitingReplies(const std::vector<std::pair<std::string, int>>& pieces,
                                           const std::string& after = "") {
  KeyDecoder decoder(Utf8Options());
  decoder.ExpectReplies(true);
  std::vector<Decoded> out;
  uint64_t now = 0;
  for (const auto& [bytes, at] : pieces) {
    now = static_cast<uint64_t>(at);
    decoder.Expire(now, out);
    decoder.Feed(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), now, out);
  }
  decoder.ExpectReplies(false);
  decoder.Feed(reinterpret_cast<const uint8_t*>(after.data()), after.size(), now, out);
  decoder.Expire(now + 2000, out);
  return out;
}

// Cursor reports as "row,column", keys as their characters (F3 as "F3").
std::string Describe(const std::vector<Decoded>& decoded) {
  std::string text;
  for (const Decoded& item : decoded) {
    if (!text.empty()) text += ' ';
    if (item.kind == Decoded::Kind::kCursorReport) {
      text += std::to_string(item.row) + "," + std::to_string(item.column);
    } else if (item.key.scan_code == 61 && item.key.character == 0) {
      text += "F3";
    } else {
      text += static_cast<char>(item.key.character);
    }
  }
  return text;
}

TEST(KeyDecoder, StartUpRepliesAmongTypedKeys) {
  struct ReplyCase {
    const char* what;
    std::vector<std::pair<std::string, int>> pieces;
    std::string after;  // typed after the wait
    const char* decoded;
  } cases[] = {
      {"reports between keys", {{"a\x1b[12;5Rb\x1b[1;2R", 0}}, "", "a 12,5 b 1,2"},
      {"a repeated report on row 1", {{"\x1b[1;1R", 0}, {"\x1b[1;5R", 100}}, "1", "1,1 1,5 1"},
      {"a report split by 60 ms", {{"\x1b[2;", 0}, {"1R", 60}}, "", "2,1"},
      {"after the wait, xterm's Shift+F3", {{"\x1b[3;1R", 0}}, "\x1b[1;2R", "3,1 F3"},
      {"a report later than the wait", {}, "\x1b[1;1R\x1b[1;2R", "1,1 F3"},
      {"a lone Esc is decided once the wait is over", {{"\x1b", 0}}, "", "\x1b"},
  };
  for (const ReplyCase& c : cases)
    EXPECT_EQ(Describe(DecodeAwaitingReplies(c.pieces, c.after)), c.decoded) << c.what;
}

TEST(KeyDecoder, Utf8CharacterInSlowPiecesIsWaitedFor) {
  KeyDecoder decoder(Utf8Options());
  std::vector<Decoded> out;
  const uint8_t lead = 0xD0, tail = 0xB4, next = 'x';
  decoder.Feed(&lead, 1, 0, out);
  decoder.Expire(600, out);
  decoder.Feed(&tail, 1, 600, out);
  ASSERT_EQ(out.size(), 1u);
  EXPECT_EQ(out[0].key.character, 0xA4) << "д, 600 ms apart";
  decoder.Feed(&lead, 1, 1000, out);
  decoder.Expire(2001, out);
  EXPECT_FALSE(decoder.Deadline().has_value()) << "a lead byte alone for a second is dropped";
  decoder.Feed(&next, 1, 2002, out);
  EXPECT_EQ(out.back().key.character, 'x');
}

TEST(KeyDecoder, Utf8CharactersBecomeCodePage866) {
  ExpectTable({
      {"\xd0\xb4", {0xA4}},                // д
      {"\xd0\x81", {0xF0}},                // Ё
      {"\xd0\x90\xd1\x8f", {0x80, 0xEF}},  // А я
      {"\xe2\x94\x80", {0xC4}},            // ─
      {"\xe2\x82\xac"
       "a",
       {'a'}},                     // € is not in code page 866
      {"\xff\xc3(b", {'(', 'b'}},  // invalid bytes give no key
      {"\xd0"
       "c",
       {'c'}},  // a truncated character
      // Overlong forms, surrogates and code points past U+10FFFF are invalid: no CR, Esc,
      // Space or digit hides in them.
      {"\xc0\x8d\xc0\x9b\xc0\xa0\xc0\xb1"
       "d",
       {'d'}},
      {"\xe0\x80\x8d\xed\xa0\x80\xf0\x80\x80\xb1\xf4\x90\x80\x80"
       "e",
       {'e'}},
      {"\xf0\x9f\x98\x80\xef\xbf\xbf"
       "f",
       {'f'}},  // valid, but not in code page 866
  });
}

TEST(KeyDecoder, SingleByteLocaleInput) {
  DecoderOptions options = Utf8Options();
  options.utf8 = false;
  const posix::TerminalCharset koi8 = posix::LoadCharset("KOI8-R");
  options.charset_high = koi8.charset_high;
  EXPECT_EQ(Keys("\xc4", false, options), std::vector<int>{0xA4});  // д in KOI8-R
}

}  // namespace
}  // namespace console::stream
