// The kitty keyboard protocol's key events, decoded into the console's key events and
// read back through KEYPRESSED and READKEY. Every case is also fed one byte at a time.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/console.hpp"
#include "console/memory/memory_console.hpp"
#include "console/posix/charset.hpp"
#include "console/stream/key_decoder.hpp"
#include "unit/decoder_support.hpp"

namespace console::stream {
namespace {

std::vector<Decoded> Decode(const std::string& bytes, bool bytewise, bool kitty = true) {
  DecoderOptions options;
  options.cp866_high = posix::LoadCharset("UTF-8").cp866_high;
  KeyDecoder decoder(options);
  decoder.SetKittyKeyboard(kitty);
  std::vector<Decoded> decoded;
  FeedBytes(decoder, bytes, bytewise, decoded);
  // Every event is complete when its last byte is in: nothing waits for a time-out.
  EXPECT_FALSE(decoder.Deadline().has_value()) << ::testing::PrintToString(bytes);
  return decoded;
}

std::vector<KeyEvent> Events(const std::string& bytes, bool bytewise) {
  std::vector<KeyEvent> events;
  for (const Decoded& item : Decode(bytes, bytewise))
    if (item.kind == Decoded::Kind::kKey) events.push_back(item.key);
  return events;
}

// What READKEY returns for BYTES.
std::vector<int> Keys(const std::string& bytes, bool bytewise) {
  return ReadKeys(Decode(bytes, bytewise));
}

void ExpectKeys(const std::string& bytes, const std::vector<int>& keys, const char* what = "") {
  EXPECT_EQ(Keys(bytes, false), keys) << what << " whole: " << ::testing::PrintToString(bytes);
  EXPECT_EQ(Keys(bytes, true), keys) << what << " bytewise: " << ::testing::PrintToString(bytes);
}

void ExpectEvents(const std::string& bytes, const std::vector<KeyEvent>& events,
                  const char* what = "") {
  SCOPED_TRACE(what);
  for (bool bytewise : {false, true}) {
    const std::vector<KeyEvent> got = Events(bytes, bytewise);
    ASSERT_EQ(got.size(), events.size()) << ::testing::PrintToString(bytes);
    for (std::size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].key_down, events[i].key_down)
          << ::testing::PrintToString(bytes) << " #" << i;
      EXPECT_EQ(got[i].scan_code, events[i].scan_code)
          << ::testing::PrintToString(bytes) << " #" << i;
      EXPECT_EQ(got[i].character, events[i].character)
          << ::testing::PrintToString(bytes) << " #" << i;
      EXPECT_EQ(got[i].control_state, events[i].control_state)
          << ::testing::PrintToString(bytes) << " #" << i;
      EXPECT_EQ(got[i].virtual_key, events[i].virtual_key)
          << ::testing::PrintToString(bytes) << " #" << i;
    }
  }
}

TEST(KittyKeys, PressRepeatAndReleaseOfTextKeys) {
  ExpectEvents(
      "\x1b[97u\x1b[97;1:2u\x1b[97;1:3u",
      {MakeKey(30, 'a', 0, 'A'), MakeKey(30, 'a', 0, 'A'), MakeKey(30, 'a', 0, 'A', false)});
  ExpectEvents("\x1b[97:65;2;65u", {MakeKey(30, 'A', kShiftPressed, 'A')});
  ExpectEvents("\x1b[49:33;2u", {MakeKey(2, '!', kShiftPressed, '1')}, "shifted key, no text");
  ExpectEvents("\x1b[97;65u", {MakeKey(30, 'A', kCapsLockOn, 'A')}, "Caps Lock, no text");
  ExpectEvents("\x1b[32;;32u", {MakeKey(57, ' ', 0, ' ')});
  ExpectKeys("\x1b[97u\x1b[97;1:2u\x1b[97;1:3u", {'a', 'a'});
}

TEST(KittyKeys, OtherLayoutsKeepTheUsKeysScanCodes) {
  // The Cyrillic letter on the Q key of a Russian layout, and the German Z on the Y key.
  ExpectEvents("\x1b[1081::113;;1081u", {MakeKey(16, 0xA9, 0, 'Q')});
  ExpectEvents("\x1b[122::121;;122u", {MakeKey(21, 'z', 0, 'Y')});
  ExpectEvents("\x1b[1081:1049:113;2;1049u", {MakeKey(16, 0x89, kShiftPressed, 'Q')});
  // Ctrl gives the base-layout key's control character: Ctrl + the D, Y and C keys.
  ExpectKeys("\x1b[1074::100;5u\x1b[1085::121;5u\x1b[1089::99;5u", {4, 25, 3});
}

TEST(KittyKeys, FunctionalKeysInTheirOwnAndLegacyShapes) {
  ExpectKeys("\x1b[27u", {27});
  ExpectKeys("\x1b[13u\x1b[9u\x1b[127u", {13, 9, 8});
  ExpectKeys("\x1b[9;2u", {0, 15}, "Shift+Tab");
  ExpectKeys("\x1b[A\x1b[1;1:3A\x1b[1;5A", {0, 72, 0, 141}, "Up, its release, Ctrl+Up");
  ExpectKeys("\x1b[3;1:2~\x1b[3;1:3~", {0, 83}, "a repeat of Del, its release");
  ExpectKeys("\x1b[P\x1b[1P\x1b[13~\x1b[24;2~", {0, 59, 0, 59, 0, 61, 0, 136});
  {
    SCOPED_TRACE("F13 and media keys are none of the PC keyboard's");
    ExpectKeys("\x1b[57376u\x1b[57428u", {});
  }
  ExpectEvents("\x1b[1;129D", {MakeKey(75, 0, kEnhancedKey | kNumLockOn, 37)});
}

TEST(KittyKeys, KeypadKeysCarryKeypadScanCodes) {
  ExpectEvents("\x1b[57405;129;54u", {MakeKey(77, '6', kNumLockOn, 102)});
  {
    SCOPED_TRACE("keypad 6 without Num Lock");
    ExpectEvents("\x1b[57418u", {MakeKey(77, 0, 0, 39)});
  }
  ExpectEvents("\x1b[57414u", {MakeKey(28, 13, kEnhancedKey, 13)});
  ExpectEvents("\x1b[57410;129;47u", {MakeKey(53, '/', kEnhancedKey | kNumLockOn, 111)});
  ExpectKeys("\x1b[57414u\x1b[57410u\x1b[57427u\x1b[57417u\x1b[57413u",
             {0, 28, 0, 53, 0, 76, 0, 75, '+'});
}

TEST(KittyKeys, ModifierKeysAloneAreEventsThatGiveNothing) {
  ExpectEvents("\x1b[57441;2u\x1b[57441;1:3u",
               {MakeKey(42, 0, kShiftPressed, 16), MakeKey(42, 0, 0, 16, false)});
  ExpectEvents("\x1b[57448;5u\x1b[57448;1:3u",
               {MakeKey(29, 0, kRightCtrlPressed | kEnhancedKey, 17),
                MakeKey(29, 0, kEnhancedKey, 17, false)});
  ExpectEvents("\x1b[57358;65u", {MakeKey(58, 0, kCapsLockOn, 20)});
  ExpectKeys(
      "\x1b[57441;2u\x1b[57441;1:3u\x1b[57442;5u\x1b[57442;1:3u\x1b[57443;3u"
      "\x1b[57443;1:3u\x1b[57358;65u\x1b[57360;129u",
      {});
}

TEST(KittyKeys, LeftAndRightAltAndCtrlAreToldApart) {
  ExpectKeys("\x1b[57443;3u\x1b[100;3u\x1b[100;3:3u\x1b[57443;1:3u", {0, 32}, "left Alt");
  ExpectKeys("\x1b[57449;3u\x1b[100;3u\x1b[100;3:3u\x1b[57449;1:3u", {'d'}, "right Alt");
  ExpectKeys("\x1b[57443;3u\x1b[93;3u", {0, 27}, "left Alt with ]");
  ExpectKeys("\x1b[100;3u", {0, 32}, "Alt without its own event counts as the left one");
  ExpectEvents("\x1b[57448;5u\x1b[99;5u", {MakeKey(29, 0, kRightCtrlPressed | kEnhancedKey, 17),
                                           MakeKey(46, 3, kRightCtrlPressed, 'C')});
  ExpectKeys("\x1b[57453u\x1b[113;;64u\x1b[57453;1:3u", {'@'}, "AltGr types the character");
  ExpectKeys("\x1b[57442;5u\x1b[92;5u\x1b[57442;1:3u", {28}, "Ctrl+\\");
}

TEST(KittyKeys, AltWithKeypadDigitsComposesOnTheReleaseOfAlt) {
  const std::string alt = "\x1b[57443;3u", alt_up = "\x1b[57443;1:3u";
  auto digit = [](int d) {
    const std::string code = std::to_string(57399 + d);
    return "\x1b[" + code + ";3u\x1b[" + code + ";3:3u";
  };
  ExpectKeys(alt + digit(6) + digit(5), {});
  ExpectKeys(alt + digit(6) + digit(5) + alt_up, {65});
  ExpectKeys(alt + digit(3) + digit(0) + digit(0) + alt_up, {44});
  ExpectKeys(alt + digit(2) + digit(5) + digit(6) + alt_up, {});
  ExpectKeys("\x1b[57449;3u" + digit(6) + digit(5) + "\x1b[57449;1:3u", {65}, "right Alt");
  ExpectKeys(alt + "\x1b[57420;3u\x1b[57420;3:3u\x1b[57417;3u" + alt_up, {24},
             "keypad Down and Left without Num Lock compose 2 and 4");
}

TEST(KittyKeys, RepliesAreNotKeys) {
  for (bool kitty : {false, true}) {
    const std::vector<Decoded> decoded = Decode("\x1b[?31u\x1b[?62;22c", false, kitty);
    ASSERT_EQ(decoded.size(), 2u);
    EXPECT_EQ(decoded[0].kind, Decoded::Kind::kKeyboardFlags);
    EXPECT_EQ(decoded[1].kind, Decoded::Kind::kDeviceAttributes);
  }
}

TEST(KittyKeys, LegacyTerminalsAreUnchanged) {
  // Without the protocol, CSI u is the fixterms form of a character key.
  const std::vector<Decoded> decoded = Decode("\x1b[97;3u", false, false);
  ASSERT_EQ(decoded.size(), 1u);
  EXPECT_EQ(decoded[0].key.character, 'a');
  EXPECT_EQ(decoded[0].key.control_state, kLeftAltPressed);
  EXPECT_TRUE(Decode("\x1b[57443;3u", false, false).empty());
}

}  // namespace
}  // namespace console::stream
