// The system builtins over the fake system: what each asks of the platform and
// what it makes of the answer, including the platform's failures.

#include "script/context.h"
#include "unit/script/script_runner.h"

#include <gtest/gtest.h>

namespace kivora::script::testing {
namespace {

using MouseEvent = FakeScriptSystem::MouseEvent;
using KeyEvent = FakeScriptSystem::KeyEvent;
using UnicodeInput = FakeScriptSystem::UnicodeInput;

TEST(SystemTime, SleepClockMetricsAndVersion) {
  ScriptRunner r;
  r.system.now = {2024, 2, 4, 29, 23, 59, 58, 999};
  r.system.ticks = 0x80000001u;
  r.system.metrics[0x1000] = 1;
  r.run(
      "CB.OUT(SLEEP(25), SLEEP(-5), SLEEP(\"0\"), GETCURRENTYEAR(), GETCURRENTMONTH(), "
      "GETCURRENTDAY(),"
      " GETCURRENTDAYOFWEEK(), GETCURRENTHOUR(), GETCURRENTMINUTE(), GETCURRENTSECOND(), "
      "GETCURRENTMILLISECONDS(),"
      " GETTICKCOUNT(), GETSYSTEMMETRICS(SM_REMOTESESSION), GETSYSTEMMETRICS(-1), "
      "GETKX_SCRIPTVERSION())\n");
  EXPECT_EQ(r.out, (Lines{"i:0", "i:0", "i:0", "i:2024", "i:2", "i:29", "i:4", "i:23", "i:59",
                          "i:58", "i:999", "i:-2147483647", "i:1", "i:0", "i:15601"}));
  // A negative time waits 0 ms instead of for ever.
  EXPECT_EQ(r.system.sleeps, (std::vector<std::uint32_t>{25, 0, 0}));
}

// A host that can end a wait early gets every positive SLEEP; 0 still only
// gives up the time slice through the system.
TEST(SystemTime, SleepWaitsThroughTheHostWhenItOffersAWait) {
  ScriptRunner r;
  std::vector<std::uint32_t> hostWaits;
  r.host.sleep = [&](std::uint32_t milliseconds) { hostWaits.push_back(milliseconds); };
  r.run("CB.OUT(SLEEP(1000000), SLEEP(0), SLEEP(-1), SLEEP(7))\n");
  EXPECT_EQ(r.out, (Lines{"i:0", "i:0", "i:0", "i:0"}));
  EXPECT_EQ(hostWaits, (std::vector<std::uint32_t>{1000000, 7}));
  EXPECT_EQ(r.system.sleeps, (std::vector<std::uint32_t>{0, 0}));
}

TEST(SystemTime, MessageBeepReportsTheCallsSuccess) {
  ScriptRunner r;
  r.run("CB.OUT(MESSAGEBEEP(0x30))\n");
  r.system.beepWorks = false;
  r.run("CB.OUT(MESSAGEBEEP(-1))\n");
  EXPECT_EQ(r.out, (Lines{"i:1", "i:0"}));
  EXPECT_EQ(r.system.beeps, (std::vector<unsigned>{0x30, 0xFFFFFFFFu}));
}

TEST(SystemEnvironment, NamesIgnoreCaseAndEmptyMeansUnset) {
  ScriptRunner r;
  r.run(
      "CB.OUT(GETENV(\"MY_A\"), SETENV(\"MY_A\", \"1\"), GETENV(\"my_a\"), SETENV(\"My_A\", "
      "\"\xC3\xA9\"),"
      " GETENV(\"MY_A\"), SETENV(\"E\", \"\"), GETENV(\"E\"), SETENV(\"\", \"x\"), SETENV(\"A=B\", "
      "\"x\"))\n");
  EXPECT_EQ(r.out, (Lines{"s:", "i:1", "s:1", "i:1", "s:\xC3\xA9", "i:1", "s:", "i:0", "i:0"}));
  EXPECT_EQ(r.system.environment.at(u"MY_A"), u"\u00E9");
}

TEST(SystemClipboard, TextRoundTripsThroughTheOwnerWindow) {
  ScriptRunner r;
  r.run("CB.OUT(GETCLIPBOARDTEXT(), SETCLIPBOARDTEXT(\"\xE6\x97\xA5 x\"), GETCLIPBOARDTEXT())\n");
  EXPECT_EQ(r.out, (Lines{"s:", "i:1", "s:\xE6\x97\xA5 x"}));
  EXPECT_EQ(r.system.clipboard, u"\u65E5 x");
  EXPECT_EQ(r.system.clipboardOwners, (std::vector<HostWindow>{0x1234, 0x1234}));
  r.out.clear();
  r.system.clipboardOpens = false;  // another program holds it open
  r.run("CB.OUT(SETCLIPBOARDTEXT(\"y\"), GETCLIPBOARDTEXT())\n");
  EXPECT_EQ(r.out, (Lines{"i:0", "s:"}));
}

TEST(SystemMouse, CursorAndEvents) {
  ScriptRunner r;
  r.run(
      "CB.OUT(GETCURSORPOSX(), GETCURSORPOSY(), SETCURSORPOS(-20, 300), GETCURSORPOSX(), "
      "GETCURSORPOSY())\n");
  EXPECT_EQ(r.out, (Lines{"i:-1", "i:-1", "i:1", "i:-20", "i:300"}));
  r.out.clear();
  r.system.cursorMovable = false;
  r.run(
      "CB.OUT(SETCURSORPOS(1, 1), MOVEMOUSE(5, -3), MOUSEWHEEL(-120), MOUSEBUTTONLEFT(1), "
      "MOUSEBUTTONLEFT(0),"
      " MOUSEBUTTONRIGHT(\"x\"), MOUSEBUTTONRIGHT(2), MOUSEBUTTONMIDDLE(1), MOUSEBUTTONMIDDLE(0),"
      " MOUSEBUTTONX1(1), MOUSEBUTTONX1(0), MOUSEBUTTONX2(1), MOUSEBUTTONX2(0))\n");
  EXPECT_EQ(r.out, (Lines{"i:0", "i:1", "i:1", "i:1", "i:1", "i:1", "i:1", "i:1", "i:1", "i:1",
                          "i:1", "i:1", "i:1"}));
  EXPECT_EQ(r.system.mouseEvents, (std::vector<MouseEvent>{{0x0001, 5, -3, 0},
                                                           {0x0800, 0, 0, -120},
                                                           {0x0002, 0, 0, 0},
                                                           {0x0004, 0, 0, 0},
                                                           {0x0010, 0, 0, 0},
                                                           {0x0008, 0, 0, 0},
                                                           {0x0020, 0, 0, 0},
                                                           {0x0040, 0, 0, 0},
                                                           {0x0080, 0, 0, 1},
                                                           {0x0100, 0, 0, 1},
                                                           {0x0080, 0, 0, 2},
                                                           {0x0100, 0, 0, 2}}));
}

TEST(SystemKeyboard, KeyEventsCarryTheExtendedFlagForTheirKeys) {
  ScriptRunner r;
  r.run(
      "CB.OUT(KEYBDEVENT(VK_INSERT, 1), KEYBDEVENT(0x141, 0), KEYBDEVENT(VK_NUMLOCK, 1), "
      "KEYBDEVENT(VK_RCONTROL, 0),"
      " KEYBDEVENT(VK_LCONTROL, 1), KEYBDEVENT(VK_UP, 1), KEYBDEVENT(VK_LWIN, 1), KEYBDEVENT(0xB7, "
      "1),"
      " KEYBDEVENT(0xB8, 1), KEYBDEVENT(VK_SNAPSHOT, 1), KEYBDEVENT(0x2F, 1))\n");
  EXPECT_EQ(r.out, Lines(11, "i:1"));
  EXPECT_EQ(r.system.keyEvents, (std::vector<KeyEvent>{{0x2D, 0, 1},
                                                       {0x41, 0, 2},
                                                       {0x90, 0, 0},
                                                       {0xA3, 0, 3},
                                                       {0xA2, 0, 0},
                                                       {0x26, 0, 1},
                                                       {0x5B, 0, 1},
                                                       {0xB7, 0, 1},
                                                       {0xB8, 0, 0},
                                                       {0x2C, 0, 1},
                                                       {0x2F, 0, 0}}));
}

TEST(SystemKeyboard, UnicodeInputSendsOneCodeUnit) {
  ScriptRunner r;
  r.run(
      "CB.OUT(SENDINPUTUNICODE(\"a\", 1), SENDINPUTUNICODE(\"!\", 0), SENDINPUTUNICODE(\"\", 1),"
      " SENDINPUTUNICODE(\"\xF0\x9F\x98\x80\", 1), SENDINPUTUNICODE(\"\xC2\xA3x\", 1), "
      "SENDINPUTUNICODE(65, 1))\n");
  r.system.sendInputResult = 0;  // input blocked by another desktop
  r.run("CB.OUT(SENDINPUTUNICODE(\"a\", 1))\n");
  EXPECT_EQ(r.out, (Lines{"i:1", "i:1", "i:1", "i:1", "i:1", "i:1", "i:0"}));
  EXPECT_EQ(r.system.unicodeInputs,
            (std::vector<UnicodeInput>{
                {u'a', 4}, {u'!', 7}, {0, 4}, {0xD83D, 4}, {0xA3, 5}, {u'6', 4}, {u'a', 4}}));
}

TEST(SystemKeyboard, KeyStateIsSignExtended) {
  ScriptRunner r;
  r.system.keyStates[0x90] = 1;
  r.system.keyStates[0x10] = static_cast<std::int16_t>(0xFF80);
  r.run(
      "CB.OUT(GETKEYSTATE(VK_NUMLOCK), GETKEYSTATE(VK_SHIFT), GETKEYSTATE(VK_SHIFT) < 0, "
      "GETKEYSTATE(VK_CAPITAL))\n");
  EXPECT_EQ(r.out, (Lines{"i:1", "i:-128", "i:1", "i:0"}));
}

TEST(SystemIme, OpenStateOfTheForegroundWindow) {
  ScriptRunner r;
  r.run("CB.OUT(GETIMESTATE(), SETIMESTATE(5), GETIMESTATE(), SETIMESTATE(0), GETIMESTATE())\n");
  EXPECT_EQ(r.out, (Lines{"i:0", "i:0", "i:1", "i:0", "i:0"}));
  EXPECT_EQ(r.system.imeCommands.size(), 5u);
  EXPECT_EQ(r.system.imeCommands[1], (std::pair<std::uint32_t, std::intptr_t>{6, 1}));
  r.out.clear();
  r.system.imeWindow = false;
  r.run("CB.OUT(GETIMESTATE(), SETIMESTATE(1))\n");
  r.system.imeWindow = true;
  r.system.foreground = false;
  r.run("CB.OUT(GETIMESTATE(), SETIMESTATE(1))\n");
  EXPECT_EQ(r.out, (Lines{"i:-1", "i:0", "i:-1", "i:0"}));
}

TEST(SystemWindowTitle, TheTitleComesAsUtf8) {
  ScriptRunner r;
  r.system.title = u"Kivora \u65E5\u672C \u00E9";
  r.run(
      "CB.OUT(GETACTIVEWINDOWTITLE(), GETACTIVEWINDOWTITLE() == \"Kivora \xE6\x97\xA5\xE6\x9C\xAC "
      "\xC3\xA9\")\n");
  r.system.title.clear();
  r.run("CB.OUT(GETACTIVEWINDOWTITLE())\n");
  r.system.title = u"t";
  r.system.foreground = false;
  r.run("CB.OUT(GETACTIVEWINDOWTITLE())\n");
  EXPECT_EQ(r.out, (Lines{"s:Kivora \xE6\x97\xA5\xE6\x9C\xAC \xC3\xA9", "i:1", "s:", "s:"}));
}

TEST(SystemMonitors, RectanglesIntoFourToSixArrays) {
  ScriptRunner r;
  r.system.monitors = std::vector<MonitorRect>{{0, 0, 1920, 1080}, {-1280, 100, 0, 1124}};
  r.run(
      "h[0] = \"keep\"\nCB.OUT(GETMONITORSRECT(\"L\", \"T\", \"R\", \"B\", \"W\"), L[1], T[1], "
      "R[1], B[1], W[0], W[1],"
      " ARRAYSIZE(\"l\"), h[0])\n"
      "CB.OUT(GETMONITORSRECT(\"L\", \"T\", \"R\", \"B\", \"W\", \"H\"), H[0], H[1], "
      "ARRAYSIZE(\"h\"))\n");
  EXPECT_EQ(r.out, (Lines{"i:2", "i:-1280", "i:100", "i:0", "i:1124", "i:1920", "i:1280", "i:2",
                          "s:keep", "i:2", "i:1080", "i:1024", "i:2"}));
  r.out.clear();
  // A failed enumeration leaves the variables alone.
  r.system.monitors.reset();
  r.run(
      "L[3] = 1\nCB.OUT(GETMONITORSRECT(\"L\", \"T\", \"R\", \"B\"), ARRAYSIZE(\"L\"), "
      "TYPEOF(\"T\"))\n");
  EXPECT_EQ(r.out, (Lines{"i:0", "i:4", "s:undefined"}));
}

TEST(SystemMonitors, AnyInvalidNameIsReportedBeforeAnythingIsWritten) {
  ScriptRunner r;
  r.system.monitors = std::vector<MonitorRect>{{0, 0, 800, 600}};
  r.run(
      "DEFINE(\"KeepVar\", 1)\nCB.OUT(GETMONITORSRECT(\"L\", \"T\", \"R\", \"B\", \"W\", "
      "\"6h\"))\nCB.OUT(2)\n");
  EXPECT_EQ(r.out, (Lines{"i:-1"}));
  EXPECT_FALSE(r.engine.variables().contains("L"));
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].code, 115u);
  EXPECT_EQ(r.errors[0].line, -1);
  EXPECT_EQ(r.errors[0].text, "The array variable name is invalid in function GetMonitorsRect().");
  r.errors.clear();
  r.run("DEFINE(\"RSC_LANG\", 1)\nGETMONITORSRECT(\"1\", \"2\", \"R\", \"B\")\n");
  ASSERT_EQ(r.errors.size(), 1u);  // one report, however many names fail
  EXPECT_EQ(
      r.errors[0].text,
      "GetMonitorsRect()で指定されている配列変数名が無効です。変数名を文字列で指定してください。");
}

TEST(SystemDevices, KeyboardNamesCutAtTheirSecondHash) {
  ScriptRunner r;
  r.system.devices = std::vector<RawInputDevice>{
      {1, true, u"\\\\?\\HID#VID_1234&PID_5678#7&1a2b#{884b96c3-56ef-11d1-bc8c-00a0c91405dd}"},
      {0, true, u"\\\\?\\HID#VID_AAAA&PID_0001#1#{mouse}"},
      {1, false, u""},
      {1, true, u"\\\\?\\ACPI#PNP0303"},
      {1, true, u"Tastatur \u00E9#a#b"},
  };
  r.run("d = \"old\"\nCB.OUT(GETKEYINPUTDEVICELIST(\"d\"), d[0], d[1], d[2], ARRAYSIZE(\"d\"))\n");
  EXPECT_EQ(r.out, (Lines{"i:3", "s:\\\\?\\HID#VID_1234&PID_5678", "s:\\\\?\\ACPI#PNP0303",
                          "s:Tastatur \xC3\xA9#a", "i:3"}));
  r.out.clear();
  r.system.devices.reset();
  r.run(
      "ARRAYINIT(\"d\", 1, 2)\nCB.OUT(GETKEYINPUTDEVICELIST(\"d\"), TYPEOF(\"d\"), "
      "ARRAYSIZE(\"d\"))\n");
  EXPECT_EQ(r.out, (Lines{"i:0", "s:int", "i:0"}));
  r.out.clear();
  r.run("CB.OUT(GETKEYINPUTDEVICELIST(\"my list\"))\nCB.OUT(2)\n");
  EXPECT_EQ(r.out, (Lines{"i:-1"}));
  ASSERT_EQ(r.errors.size(), 1u);
  EXPECT_EQ(r.errors[0].text,
            "The array variable name is invalid in function GetKeyInputDeviceList().");
}

}  // namespace
}  // namespace kivora::script::testing
