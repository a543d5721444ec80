#include "runtime/runtime.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <string>

#include "runtime/posix/signals.hpp"

namespace {

TEST(RunErrorReport, NumberAddressAndBackTrace) {
  // Addresses have all the digits of the platform's addresses, 16 on a 64-bit one.
  const std::uintptr_t high = sizeof(void*) == 8 ? 0x7FFDu : 0;
  const std::string zeros(sizeof(void*) * 2 - 8, '0');
  const std::string high_digits = sizeof(void*) == 8 ? "00007FFD" : "";
  const void* frames[] = {reinterpret_cast<const void*>(0x401A2F),
                          reinterpret_cast<const void*>(high << 32 | 0xDEADBEEF)};
  char out[256];
  const std::size_t size = runtime::FormatRunError(
      out, sizeof out, 216, reinterpret_cast<const void*>(0x401A2F), frames, 2);
  EXPECT_EQ(std::string(out, size), "Runtime error 216 at $" + zeros + "00401A2F\n" + "  $" +
                                        zeros + "00401A2F\n" + "  $" + high_digits + "DEADBEEF\n" +
                                        "\n");
}

TEST(RunErrorReport, IsCutAtTheCapacity) {
  char out[10];
  EXPECT_EQ(runtime::FormatRunError(out, sizeof out, 200, nullptr, nullptr, 0), 10u);
}

int restored = 0;

TEST(Restore, ModesAreSwitchedOffNewestFirstAndOnlyOnce) {
  restored = 0;
  runtime::RegisterMode([] { restored = restored * 10 + 1; });
  runtime::RegisterMode([] { restored = restored * 10 + 2; });
  runtime::RestoreModes();
  runtime::RestoreModes();
  EXPECT_EQ(restored, 21);
}

TEST(FaultCode, NumbersOfTheProcessorFaults) {
  EXPECT_EQ(runtime::FaultCode(SIGSEGV, SEGV_MAPERR), 216);
  EXPECT_EQ(runtime::FaultCode(SIGBUS, BUS_ADRERR), 216);
  EXPECT_EQ(runtime::FaultCode(SIGFPE, FPE_INTDIV), 200);
  EXPECT_EQ(runtime::FaultCode(SIGFPE, FPE_INTOVF), 215);
  EXPECT_EQ(runtime::FaultCode(SIGFPE, FPE_FLTINV), 207);
  EXPECT_EQ(runtime::FaultCode(SIGILL, ILL_ILLOPN), 217);
  EXPECT_EQ(runtime::FaultCode(SIGABRT, SI_USER), 217);
}

TEST(Restore, HaltFlushesThenRestoresThenExits) {
  EXPECT_EXIT(
      {
        runtime::SetFlushHandler([] { std::fputs("flush ", stderr); });
        runtime::RegisterMode([] { std::fputs("restore", stderr); });
        runtime::Halt(7);
      },
      ::testing::ExitedWithCode(7), "flush restore");
}

}  // namespace
