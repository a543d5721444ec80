#include <cstdlib>
#include <vector>

#include "console_fixture.hpp"

namespace console::testing {
namespace {

using Keyboard = ConsoleTest;

KeyEvent Key(uint16_t scan, uint8_t character, uint32_t state = 0, uint16_t virtual_key = 0) {
  return MakeKey(scan, character, state, virtual_key);
}

KeyEvent Release(uint16_t virtual_key, uint32_t state = 0) {
  return MakeKey(0, 0, state, virtual_key, false);
}

std::vector<int> ReadAll() {
  std::vector<int> keys;
  while (KEYPRESSED()) keys.push_back(READKEY());
  return keys;
}

TEST_F(Keyboard, ModifierAloneGivesNothingAndIsConsumed) {
  screen->PushKey(Key(42, 0, kShiftPressed, vk::kShift));
  screen->PushKey(Release(vk::kShift));
  screen->OnWait([](MemoryConsole& console) {
    if (console.waits() == 1) console.PushKey(Key(57, ' '));
  });
  EXPECT_EQ(READKEY(), ' ');
  EXPECT_EQ(screen->waits(), 1) << "READKEY went on waiting after the Shift events";
  EXPECT_FALSE(KEYPRESSED());
}

TEST_F(Keyboard, ExtendedKeyArrivesAsZeroThenItsCodeWithoutWaiting) {
  screen->PushKey(Key(72, 0, kEnhancedKey));
  EXPECT_EQ(READKEY(), 0);
  EXPECT_TRUE(KEYPRESSED());
  EXPECT_EQ(READKEY(), 72);
  EXPECT_EQ(screen->waits(), 0);
  EXPECT_FALSE(KEYPRESSED());
}

// With the PC's extended codes under Alt, Ctrl, Shift (in this order of precedence).
TEST_F(Keyboard, ReadkeyResultsOfTheUsualKeys) {
  constexpr uint32_t kAlt = kLeftAltPressed, kRAlt = kRightAltPressed, kCtrl = kLeftCtrlPressed,
                     kShift = kShiftPressed, kGrey = kEnhancedKey;
  struct Case {
    const char* name;
    KeyEvent key;
    std::vector<int> expected;
  };
  const Case cases[] = {
      {"Space", Key(57, ' '), {32}},
      {"Esc", Key(1, 27), {27}},
      {"Enter", Key(28, 13), {13}},
      {"keypad Enter", Key(28, 13, kEnhancedKey), {0, 28}},
      {"Backspace", Key(14, 8), {8}},
      {"Tab", Key(15, 9), {9}},
      {"Shift+Tab", Key(15, 9, kShiftPressed), {0, 15}},
      {"keypad slash", Key(53, '/', kEnhancedKey), {0, 53}},
      {"Shift+A", Key(30, 'A', kShiftPressed), {'A'}},
      {"Ctrl+A", Key(30, 1, kLeftCtrlPressed), {1}},
      {"right Alt+q", Key(16, '@', kRightAltPressed | kLeftCtrlPressed), {'@'}},
      {"left Alt+D", Key(32, 'd', kLeftAltPressed), {0, 32}},
      {"left Alt+]", Key(27, ']', kLeftAltPressed), {0, 27}},
      {"left Alt+Space", Key(57, ' ', kLeftAltPressed), {0, 57}},
      {"left Alt+Esc", Key(1, 27, kLeftAltPressed), {0, 1}},
      {"left Alt+1", Key(2, '1', kLeftAltPressed), {0, 120}},
      {"left Alt+Enter", Key(28, 13, kLeftAltPressed), {0, 166}},
      {"Alt+Del", Key(83, 0, kLeftAltPressed | kEnhancedKey), {0, 163}},
      {"Home", Key(71, 0, kEnhancedKey), {0, 71}},
      {"keypad 5, Num Lock off", Key(76, 0), {0, 76}},
      {"F1", Key(59, 0), {0, 59}},
      {"F11", Key(87, 0), {0, 133}},
      {"Shift+F1", Key(59, 0, kShiftPressed), {0, 84}},
      {"Ctrl+F1", Key(59, 0, kLeftCtrlPressed), {0, 94}},
      {"Alt+F1", Key(59, 0, kLeftAltPressed), {0, 104}},
      {"Ctrl+Up", Key(72, 0, kRightCtrlPressed | kEnhancedKey), {0, 141}},
      {"Ctrl+keypad 5", Key(76, 0, kLeftCtrlPressed), {0, 143}},
      {"Cyrillic letter", Key(30, 0xE4), {0xE4}},
      {"Alt+=", Key(13, '=', kAlt), {0, 131}},
      {"Alt+/", Key(53, '/', kAlt), {0, 164}},
      {"right Alt+F1", Key(59, 0, kRAlt), {0, 104}},
      {"Alt+F10", Key(68, 0, kAlt), {0, 113}},
      {"Alt+F11", Key(87, 0, kAlt), {0, 139}},
      {"Alt+F12", Key(88, 0, kAlt), {0, 140}},
      {"Alt+keypad minus", Key(74, '-', kAlt), {0, 74}},
      {"Alt+keypad plus", Key(78, '+', kAlt), {0, 78}},
      {"Alt+Ctrl+F1", Key(59, 0, kAlt | kCtrl), {0, 104}},
      {"Ctrl+Tab", Key(15, 0, kCtrl), {0, 148}},
      {"Ctrl+keypad slash", Key(53, 0, kCtrl | kGrey), {0, 149}},
      {"Ctrl+keypad star", Key(55, 0, kCtrl), {0, 150}},
      {"Ctrl+F10", Key(68, 0, kCtrl), {0, 103}},
      {"Ctrl+Home", Key(71, 0, kCtrl | kGrey), {0, 119}},
      {"Ctrl+PgUp", Key(73, 0, kCtrl | kGrey), {0, 132}},
      {"Ctrl+keypad minus", Key(74, 0, kCtrl), {0, 142}},
      {"Ctrl+Left", Key(75, 0, kCtrl | kGrey), {0, 115}},
      {"Ctrl+Right", Key(77, 0, kCtrl | kGrey), {0, 116}},
      {"Ctrl+keypad plus", Key(78, 0, kCtrl), {0, 78}},
      {"Ctrl+End", Key(79, 0, kCtrl | kGrey), {0, 117}},
      {"Ctrl+Down", Key(80, 0, kCtrl | kGrey), {0, 145}},
      {"Ctrl+PgDn", Key(81, 0, kCtrl | kGrey), {0, 118}},
      {"Ctrl+Ins", Key(82, 0, kCtrl | kGrey), {0, 146}},
      {"Ctrl+Del", Key(83, 0, kCtrl | kGrey), {0, 147}},
      {"Ctrl+F11", Key(87, 0, kCtrl), {0, 137}},
      {"Ctrl+F12", Key(88, 0, kCtrl), {0, 138}},
      {"Ctrl+Shift+F1", Key(59, 0, kCtrl | kShift), {0, 94}},
      {"Shift+F10", Key(68, 0, kShift), {0, 93}},
      {"Shift+F11", Key(87, 0, kShift), {0, 135}},
      {"Shift+F12", Key(88, 0, kShift), {0, 136}},
      {"Shift+Up", Key(72, 0, kShift | kGrey), {0, 72}},
      {"F12", Key(88, 0), {0, 134}},
  };
  for (const Case& c : cases) {
    screen->PushKey(c.key);
    EXPECT_EQ(ReadAll(), c.expected) << c.name;
  }
  // The cursor keys under Alt, which READKEY composes with: their codes from REMAPSCANCODE.
  for (const auto& [scan, code] : {std::pair{71, 151}, {73, 153}, {75, 155}, {77, 157}, {82, 162}})
    EXPECT_EQ(REMAPSCANCODE(static_cast<uint8_t>(scan), kAlt, 0), code) << scan;
}

TEST_F(Keyboard, ExtendedKeyWithScanCodeZeroGivesASingleZero) {
  screen->PushKey(Key(0, 0));
  EXPECT_EQ(READKEY(), 0);
  EXPECT_FALSE(KEYPRESSED());
}

TEST_F(Keyboard, EventsBehindAFoundKeyStayQueued) {
  screen->PushOther();
  screen->PushKey(Key(30, 'a'));
  screen->PushKey(Key(48, 'b'));
  EXPECT_TRUE(KEYPRESSED());
  EXPECT_EQ(screen->queued(), 1u);
  EXPECT_TRUE(KEYPRESSED()) << "a pending key is not looked for again";
  EXPECT_EQ(screen->queued(), 1u);
  EXPECT_EQ(READKEY(), 'a');
  EXPECT_EQ(READKEY(), 'b');
}

// Alt held, digits on the keypad, Alt released.
void Compose(MemoryConsole& screen, std::initializer_list<uint16_t> scans,
             uint32_t alt = kLeftAltPressed) {
  screen.PushKey(Key(56, 0, alt, vk::kMenu));
  for (uint16_t scan : scans) {
    screen.PushKey(Key(scan, 0, alt | kNumLockOn));
    KeyEvent up = Key(scan, 0, alt | kNumLockOn);
    up.key_down = false;
    screen.PushKey(up);
  }
  screen.PushKey(Release(vk::kMenu, 0));
}

TEST_F(Keyboard, AltCompositionDeliversOnRelease) {
  Compose(*screen, {77, 76});  // 6, 5
  EXPECT_EQ(ReadAll(), std::vector<int>{65});
  Compose(*screen, {81, 82, 82}, kRightAltPressed);  // 3, 0, 0
  EXPECT_EQ(ReadAll(), std::vector<int>{44});
  Compose(*screen, {80, 76, 71});  // 2, 5, 7
  EXPECT_EQ(ReadAll(), std::vector<int>{1});
}

TEST_F(Keyboard, AltCompositionOfZeroDeliversNothingAndStaysArmed) {
  Compose(*screen, {80, 76, 77});  // 2, 5, 6: 256 is 0
  EXPECT_EQ(ReadAll(), std::vector<int>{});
  EXPECT_TRUE(DOINGNUMCHARS);
  EXPECT_EQ(DOINGNUMCODE, 0);
  Compose(*screen, {77, 76});
  EXPECT_EQ(ReadAll(), std::vector<int>{65});
}

TEST_F(Keyboard, GreyCursorKeyWithAltComposesADigit) {
  screen->PushKey(Key(75, 0, kLeftAltPressed | kEnhancedKey));  // grey Left: 4
  screen->PushKey(Key(71, 0, kLeftAltPressed | kEnhancedKey));  // grey Home: 7
  EXPECT_FALSE(KEYPRESSED());
  screen->PushKey(Release(vk::kMenu));
  EXPECT_EQ(ReadAll(), std::vector<int>{47});
}

TEST_F(Keyboard, CompositionSurvivesOtherKeysPressedMeanwhile) {
  screen->PushKey(Key(77, 0, kLeftAltPressed));    // 6
  screen->PushKey(Key(32, 'd', kLeftAltPressed));  // Alt+D, delivered as usual
  screen->PushKey(Key(76, 0, kLeftAltPressed));    // 5
  screen->PushKey(Key(74, '-', kLeftAltPressed));  // keypad minus does not compose
  screen->PushKey(Release(vk::kMenu));
  EXPECT_EQ(ReadAll(), (std::vector<int>{0, 32, 0, 74, 65}));
}

TEST_F(Keyboard, ReadkeyAtEndOfInputCallsTheHandler) {
  screen->EndInput();
  SetEndOfInputHandler([] { std::_Exit(100); });
  EXPECT_EXIT(READKEY(), ::testing::ExitedWithCode(100), "");
  SetEndOfInputHandler(nullptr);
  EXPECT_EXIT(READKEY(), ::testing::ExitedWithCode(0), "");
}

TEST_F(Keyboard, KeysQueuedBeforeEndOfInputAreStillRead) {
  screen->PushKey(Key(30, 'a'));
  screen->EndInput();
  EXPECT_FALSE(KeysEnded());
  EXPECT_EQ(READKEY(), 'a');
  EXPECT_TRUE(KeysEnded());
}

}  // namespace
}  // namespace console::testing
