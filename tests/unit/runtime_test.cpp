#include "runtime/runtime.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <string>

namespace {

TEST(RunErrorReport, NumberAddressAndBackTrace) {
  const void* frames[] = {reinterpret_cast<const void*>(0x401A2F),
                          reinterpret_cast<const void*>(0xDEADBEEF)};
  char out[256];
  const std::size_t size =
      rt::FORMATRUNERROR(out, sizeof out, 216, reinterpret_cast<const void*>(0x401A2F), frames, 2);
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

TEST(Restore, ModesAreSwitchedOffNewestFirstAndOnlyOnce) {
  restored = 0;
  rt::REGISTERMODE([] { restored = restored * 10 + 1; });
  rt::REGISTERMODE([] { restored = restored * 10 + 2; });
  rt::RUNRESTORE();
  rt::RUNRESTORE();
  EXPECT_EQ(restored, 21);
}

TEST(FaultCode, NumbersOfTheProcessorFaults) {
  EXPECT_EQ(rt::FAULTCODE(SIGSEGV, SEGV_MAPERR), 216);
  EXPECT_EQ(rt::FAULTCODE(SIGBUS, BUS_ADRERR), 216);
  EXPECT_EQ(rt::FAULTCODE(SIGFPE, FPE_INTDIV), 200);
  EXPECT_EQ(rt::FAULTCODE(SIGFPE, FPE_INTOVF), 215);
  EXPECT_EQ(rt::FAULTCODE(SIGFPE, FPE_FLTINV), 207);
  EXPECT_EQ(rt::FAULTCODE(SIGILL, ILL_ILLOPN), 217);
  EXPECT_EQ(rt::FAULTCODE(SIGABRT, SI_USER), 217);
}

TEST(Restore, HaltFlushesThenRestoresThenExits) {
  EXPECT_EXIT(
      {
        rt::SETFLUSHPROC([] { std::fputs("flush ", stderr); });
        rt::REGISTERMODE([] { std::fputs("restore", stderr); });
        rt::HALT(7);
      },
      ::testing::ExitedWithCode(7), "flush restore");
}

}  // namespace
