// Processor faults inside a script run: the guard reports them, the process
// survives, and the engine runs again.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/unicode.h"
#include "platform/win32/script_system.h"
#include "platform/win32/vectored_fault_guard.h"
#include "script/engine.h"
#include "script/script_thread.h"

namespace {

using namespace kivora::script;
using kivora::win32::VectoredFaultGuard;
using kivora::win32::Win32ScriptSystem;

struct Report {
  unsigned code;
  int line;
  std::string text;
};

class GuardedEngine {
 public:
  Win32ScriptSystem system;
  VectoredFaultGuard guard;
  Engine engine{system, &guard};
  ScriptHost host;
  std::vector<Report> errors;

  GuardedEngine() {
    host.errorCallback = [this](unsigned code, int line, const char16_t* text) {
      errors.push_back({code, line, kivora::utf16ToUtf8(text)});
    };
  }
  int run(const char16_t* script) {
    int result = -2;
    ScriptThread thread;
    thread.start([&] { result = engine.runScript(script, &host); });
    thread.join();
    return result;
  }
};

void writeToAnUnmappedAddress() {
  volatile std::uintptr_t address = 0x10;
  *reinterpret_cast<volatile int*>(address) = 1;
}

void divideByZero() {
  // Both operands unknown to the compiler, so a real division instruction runs.
  volatile int numerator = 7, zero = 0;
  volatile int quotient = numerator / zero;
  (void)quotient;
}

TEST(FaultGuard, AnAccessViolationEndsTheRunWithAReport) {
  GuardedEngine g;
  g.host.applicationFunction = [](AppCallInfo*) { writeToAnUnmappedAddress(); };
  EXPECT_EQ(g.run(u"x = 1\nCB.Crash()\nexit 3\n"), -1);
  ASSERT_EQ(g.errors.size(), 1u);
  EXPECT_EQ(g.errors[0].code, 199u);
  EXPECT_EQ(g.errors[0].line, -1);
  EXPECT_EQ(g.errors[0].text, "Unknown Exception: 0xc0000005\n");
  EXPECT_FALSE(g.engine.isRunning());
  EXPECT_EQ(g.run(u"exit 4\n"), 4);
}

TEST(FaultGuard, AnIntegerFaultIsReportedInJapaneseToo) {
  GuardedEngine g;
  g.host.japanese = 1;
  g.host.applicationFunction = [](AppCallInfo*) { divideByZero(); };
  EXPECT_EQ(g.run(u"CB.Divide()\n"), -1);
  ASSERT_EQ(g.errors.size(), 1u);
  EXPECT_EQ(g.errors[0].text,
            "スクリプト解釈中または実行中に例外を捕捉しました。例外コード: 0xc0000094\n");
  // Again and again: each fault is caught, each following run works.
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(g.run(u"CB.Divide()\n"), -1);
    EXPECT_EQ(g.run(u"exit 6\n"), 6);
  }
}

TEST(FaultGuard, TheReportSpeaksTheLanguageTheScriptChose) {
  const struct {
    int hostJapanese;
    const char16_t* script;
    const char* text;
  } cases[] = {
      {0, u"DEFINE(\"RSC_LANG\", 1)\nCB.Crash()\n",
       "スクリプト解釈中または実行中に例外を捕捉しました。例外コード: 0xc0000005\n"},
      {1, u"DEFINE(\"RSC_LANG\", 0)\nCB.Crash()\n", "Unknown Exception: 0xc0000005\n"},
  };
  for (const auto& c : cases) {
    GuardedEngine g;
    g.host.japanese = c.hostJapanese;
    g.host.applicationFunction = [](AppCallInfo*) { writeToAnUnmappedAddress(); };
    EXPECT_EQ(g.run(c.script), -1);
    ASSERT_EQ(g.errors.size(), 1u);
    EXPECT_EQ(g.errors[0].text, c.text);
  }
}

TEST(FaultGuard, OrdinaryExceptionsAndRunsPassThroughUntouched) {
  GuardedEngine g;
  g.host.applicationFunction = [](AppCallInfo*) { throw std::runtime_error("plain"); };
  EXPECT_EQ(g.run(u"CB.Throw()\n"), 0);
  ASSERT_EQ(g.errors.size(), 1u);
  EXPECT_EQ(g.errors[0].text, "Runtime error: std::runtime_error: plain\n");
  EXPECT_EQ(g.run(u"x = 1 / 0\nexit 2\n"), 0);  // division by zero in a script is no fault
  EXPECT_EQ(g.errors.back().code, 102u);
}

TEST(FaultGuard, AStackOverflowIsCaughtAndTheNextOneToo) {
  VectoredFaultGuard guard;
  static volatile bool forever = true;
  struct Deep {
    static int down(int n) {
      volatile char pad[256];
      pad[0] = static_cast<char>(n);
      return forever ? down(n + 1) + pad[0] : 0;
    }
  };
  for (int i = 0; i < 2; ++i) {
    std::uint32_t code = 0;
    ScriptThread thread;
    thread.start([&] { code = guard.run([](void*) { Deep::down(0); }, nullptr); });
    thread.join();
    EXPECT_EQ(code, 0xC00000FDu);
  }
}

}  // namespace
