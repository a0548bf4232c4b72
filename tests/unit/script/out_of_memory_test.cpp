// Exhausted memory at every single allocation of a run, one after another: the
// run ends in a report or finishes, the process goes on, nothing leaks, and the
// engine runs normally afterwards. This program replaces operator new.

#include "unit/script/script_runner.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// Allocations left before they start failing; negative: no limit.
std::atomic<long> gAllocationsLeft{-1};
// Whether a failure is followed by more (exhausted memory) or is a single one.
std::atomic<bool> gPersistent{false};
std::atomic<bool> gFailed{false};

void* allocate(std::size_t size) {
  const long left = gAllocationsLeft.load();
  if (left == 0) {
    gFailed = true;
    if (!gPersistent) gAllocationsLeft = -1;
    throw std::bad_alloc();
  }
  if (left > 0) gAllocationsLeft = left - 1;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace kivora::script::testing {
namespace {

const char* const kScript =
    "func fib(n) {\n"
    " if n < 2 {\n"
    "  return n\n"
    " }\n"
    " return fib(n - 1) + fib(n - 2)\n"
    "}\n"
    "a[5] = \"text \" + fib(7)\n"
    "s = \"abc\" + a[5]\n"
    "for (i = 0, i < 3, i++) {\n"
    " s += i\n"
    "}\n"
    "CB.OUT(s, TEXTOUT(s), MAX(1, 2, 3), INPUT(\"name\"))\n"
    "goto :end\n"
    ":end\n"
    "x = 1 / 0\n";

// Runs the script with the k-th allocation failing; true once k lies beyond the run.
bool runWithFailureAt(ScriptRunner& r, const std::u16string& script, long k, bool persistent) {
  int result = 0;
  ScriptThread thread;
  thread.start([&] {
    gFailed = false;
    gPersistent = persistent;
    gAllocationsLeft = k;
    result = r.engine.runScript(script.c_str(), &r.host);
    gAllocationsLeft = -1;
  });
  thread.join();
  EXPECT_TRUE(result == 0 || result == -1) << "failure at allocation " << k;
  return !gFailed;
}

// The builtin library: strings, tables, arrays, the matcher, the system.
const char* const kLibraryScript =
    "n = SPLIT(\"b,a,c\", \",\", \"parts\")\n"
    "SORTARRAY(\"parts\")\n"
    "ARRAYADD(\"parts\", FORMAT(\"%05d|%s\", n, JOIN(\"parts\", \"-\")))\n"
    "k = CONVCHAR(\"\xE3\x81\x8C\\t\", CC_HIRA_KATA | CC_KATA_FL_HF | CC_CTRL_ESC)\n"
    "r = REGEX_REPLACE(k + MBMID(\"abc\", 2, 1), \"[a-z]\", \"<$&>\")\n"
    "m = REGEX_SEARCH(\"aXbX\", \"X\", \"st\", \"ln\")\n"
    "GETMONITORSRECT(\"l\", \"t\", \"r2\", \"b\")\n"
    "MULTILINETOSTRINGARRAY(\"r\")\n"
    "CB.OUT(REPLACE(r, \"b\", \"B\"), m, ARRAYSIZE(\"parts\"), GETENV(\"X\"))\n"
    "x = 1 / 0\n";

void sweep(const char* script, bool persistent) {
  const std::u16string text = utf8ToUtf16(script);
  ScriptRunner r;
  r.system.inputAnswers.assign(100000, {1, u"someone"});
  r.system.monitors = std::vector<MonitorRect>{{0, 0, 800, 600}};
  r.system.environment.emplace(u"X", u"y");
  long k = 0;
  for (; k < 100000; ++k) {
    if (runWithFailureAt(r, text, k, persistent)) break;
    r.errors.clear();
    r.out.clear();
    ASSERT_EQ(r.run("x = 40\nexit x + 2\n"), 42) << "after a failure at allocation " << k;
  }
  EXPECT_GT(k, 50);  // the sweep did reach into the run
  // The last run went through untouched.
  EXPECT_EQ(r.errorCodes(), (std::vector<unsigned>{102}));
}

TEST(OutOfMemory, ASingleFailedAllocationAnywhereIsReported) { sweep(kScript, false); }

TEST(OutOfMemory, ExhaustedMemoryAnywhereIsSurvived) { sweep(kScript, true); }

TEST(OutOfMemory, BuiltinLibraryCallsSurviveASingleFailure) { sweep(kLibraryScript, false); }

TEST(OutOfMemory, BuiltinLibraryCallsSurviveExhaustedMemory) { sweep(kLibraryScript, true); }

TEST(OutOfMemory, SyntaxErrorReportsSurviveExhaustedMemory) {
  const std::u16string text = utf8ToUtf16("x = 1\ny = (2 +* 3)\n");
  ScriptRunner r;
  for (long k = 0; k < 100000; ++k) {
    if (runWithFailureAt(r, text, k, true)) break;
    r.errors.clear();
  }
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].code, 101u);
}

}  // namespace
}  // namespace kivora::script::testing
