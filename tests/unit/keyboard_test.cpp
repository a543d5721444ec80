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

TEST_F(Keyboard, ReadkeyResultsOfTheUsualKeys) {
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
  };
  for (const Case& c : cases) {
    screen->PushKey(c.key);
    EXPECT_EQ(ReadAll(), c.expected) << c.name;
  }
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

TEST(RemapScanCode, ModifierGroupsInOrderAltCtrlShiftNone) {
  struct Case {
    uint8_t scan;
    uint8_t state;
    uint8_t expected;
  };
  constexpr uint8_t kAlt = kLeftAltPressed, kRAlt = kRightAltPressed, kCtrl = kLeftCtrlPressed,
                    kShift = kShiftPressed;
  const Case cases[] = {
      {2, kAlt, 120},           {13, kAlt, 131},  {28, kAlt, 166},   {53, kAlt, 164},
      {59, kRAlt, 104},         {68, kAlt, 113},  {71, kAlt, 151},   {83, kAlt, 163},
      {87, kAlt, 139},          {88, kAlt, 140},  {74, kAlt, 74},    {76, kAlt, 76},
      {78, kAlt, 78},           {32, kAlt, 32},   {15, kCtrl, 148},  {53, kCtrl, 149},
      {55, kCtrl, 150},         {59, kCtrl, 94},  {68, kCtrl, 103},  {71, kCtrl, 119},
      {73, kCtrl, 132},         {74, kCtrl, 142}, {75, kCtrl, 115},  {77, kCtrl, 116},
      {78, kCtrl, 78},          {79, kCtrl, 117}, {80, kCtrl, 145},  {81, kCtrl, 118},
      {82, kCtrl, 146},         {83, kCtrl, 147}, {87, kCtrl, 137},  {88, kCtrl, 138},
      {59, kShift, 84},         {68, kShift, 93}, {87, kShift, 135}, {88, kShift, 136},
      {72, kShift, 72},         {87, 0, 133},     {88, 0, 134},      {72, 0, 72},
      {59, kAlt | kCtrl, 104},  // Alt decides before Ctrl
      {59, kCtrl | kShift, 94},
  };
  for (const Case& c : cases)
    EXPECT_EQ(REMAPSCANCODE(c.scan, c.state, 0), c.expected)
        << "scan " << int(c.scan) << " state " << int(c.state);
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
