#include <gtest/gtest.h>

#include <string>

#include "runtime/runtime.hpp"

namespace {

TEST(RunErrorReport, NumberAddressAndBackTrace) {
  const void* frames[] = {reinterpret_cast<const void*>(0x401A2F),
                          reinterpret_cast<const void*>(0xDEADBEEF)};
  char out[256];
  const std::size_t size = rt::FORMATRUNERROR(out, sizeof out, 216,
                                              reinterpret_cast<const void*>(0x401A2F), frames, 2);
  EXPECT_EQ(std::string(out, size),
            "Runtime error 216 at $00401A2F\n"
            "  $00401A2F\n"
            "  $DEADBEEF\n"
            "\n");
}

TEST(RunErrorReport, IsCutAtTheCapacity) {
  char out[10];
  EXPECT_EQ(rt::FORMATRUNERROR(out, sizeof out, 200, nullptr, nullptr, 0), 10u);
}

int restored = 0;

TEST(Restore, StepsRunNewestFirstAndOnlyOnce) {
  restored = 0;
  rt::REGISTERRESTORE([] { restored = restored * 10 + 1; });
  rt::REGISTERRESTORE([] { restored = restored * 10 + 2; });
  rt::RUNRESTORE();
  rt::RUNRESTORE();
  EXPECT_EQ(restored, 21);
}

TEST(Restore, HaltFlushesThenRestoresThenExits) {
  EXPECT_EXIT(
      {
        rt::SETFLUSHPROC([] { std::fputs("flush ", stderr); });
        rt::REGISTERRESTORE([] { std::fputs("restore", stderr); });
        rt::HALT(7);
      },
      ::testing::ExitedWithCode(7), "flush restore");
}

}  // namespace
