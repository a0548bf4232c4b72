#pragma once
// Builtin handlers, by family. Each takes the checked call and returns the
// call's value; none keeps state between calls.

#include "script/builtins/builtin_call.h"

namespace kivora::script::builtins {

// Numbers and definitions (numbers.cpp).
Value abs(BuiltinCall& call);
Value max(BuiltinCall& call);
Value min(BuiltinCall& call);
Value sqrt(BuiltinCall& call);
Value clamp(BuiltinCall& call);
Value rand(BuiltinCall& call);
Value srand(BuiltinCall& call);
Value typeOf(BuiltinCall& call);
Value define(BuiltinCall& call);

// Message boxes and the input dialog (dialogs.cpp).
Value textOut(BuiltinCall& call);
Value question(BuiltinCall& call);
Value questionOkCancel(BuiltinCall& call);
Value questionYesNoCancel(BuiltinCall& call);
Value warning(BuiltinCall& call);
Value information(BuiltinCall& call);
Value error(BuiltinCall& call);
Value input(BuiltinCall& call);

// Strings and conversion (strings.cpp, convchar.cpp).
Value strLen(BuiltinCall& call);
Value mbStrLen(BuiltinCall& call);
Value strUpr(BuiltinCall& call);
Value strLwr(BuiltinCall& call);
Value strStr(BuiltinCall& call);
Value strStrI(BuiltinCall& call);
Value mbStrStr(BuiltinCall& call);
Value mbStrStrI(BuiltinCall& call);
Value strCmp(BuiltinCall& call);
Value strCmpI(BuiltinCall& call);
Value startsWith(BuiltinCall& call);
Value endsWith(BuiltinCall& call);
Value left(BuiltinCall& call);
Value right(BuiltinCall& call);
Value mid(BuiltinCall& call);
Value mbLeft(BuiltinCall& call);
Value mbRight(BuiltinCall& call);
Value mbMid(BuiltinCall& call);
Value toStr(BuiltinCall& call);
Value toInt(BuiltinCall& call);
Value toStr16(BuiltinCall& call);
Value toStr2(BuiltinCall& call);
Value getAsciiCode(BuiltinCall& call);
Value chr(BuiltinCall& call);
Value replace(BuiltinCall& call);
Value padLeft(BuiltinCall& call);
Value padRight(BuiltinCall& call);
Value trimLeft(BuiltinCall& call);
Value trimRight(BuiltinCall& call);
Value insCrLf(BuiltinCall& call);
Value lcLite(BuiltinCall& call);
Value delCtrlC(BuiltinCall& call);
Value format(BuiltinCall& call);
Value split(BuiltinCall& call);
Value join(BuiltinCall& call);
Value convChar(BuiltinCall& call);

// Arrays (arrays.cpp).
Value arraySize(BuiltinCall& call);
Value multiLineToStringArray(BuiltinCall& call);
Value arrayToMultiLineString(BuiltinCall& call);
Value sortArray(BuiltinCall& call);
Value sortArrayDesc(BuiltinCall& call);
Value uniqArray(BuiltinCall& call);
Value delEmptyArray(BuiltinCall& call);
Value delArrayItem(BuiltinCall& call);
Value resize(BuiltinCall& call);
Value arrayInit(BuiltinCall& call);
Value arrayAdd(BuiltinCall& call);

// Regular expressions (regex.cpp).
Value regexMatch(BuiltinCall& call);
Value regexReplace(BuiltinCall& call);
Value regexSearch(BuiltinCall& call);

// System, input and devices (system.cpp).
Value sleep(BuiltinCall& call);
Value getCurrentYear(BuiltinCall& call);
Value getCurrentMonth(BuiltinCall& call);
Value getCurrentDay(BuiltinCall& call);
Value getCurrentDayOfWeek(BuiltinCall& call);
Value getCurrentHour(BuiltinCall& call);
Value getCurrentMinute(BuiltinCall& call);
Value getCurrentSecond(BuiltinCall& call);
Value getCurrentMilliseconds(BuiltinCall& call);
Value getTickCount(BuiltinCall& call);
Value getSystemMetrics(BuiltinCall& call);
Value getKxScriptVersion(BuiltinCall& call);
Value messageBeep(BuiltinCall& call);
Value getEnv(BuiltinCall& call);
Value setEnv(BuiltinCall& call);
Value getClipboardText(BuiltinCall& call);
Value setClipboardText(BuiltinCall& call);
Value getCursorPosX(BuiltinCall& call);
Value getCursorPosY(BuiltinCall& call);
Value setCursorPos(BuiltinCall& call);
Value moveMouse(BuiltinCall& call);
Value mouseWheel(BuiltinCall& call);
Value mouseButtonLeft(BuiltinCall& call);
Value mouseButtonRight(BuiltinCall& call);
Value mouseButtonMiddle(BuiltinCall& call);
Value mouseButtonX1(BuiltinCall& call);
Value mouseButtonX2(BuiltinCall& call);
Value keybdEvent(BuiltinCall& call);
Value sendInputUnicode(BuiltinCall& call);
Value getKeyState(BuiltinCall& call);
Value getImeState(BuiltinCall& call);
Value setImeState(BuiltinCall& call);
Value getActiveWindowTitle(BuiltinCall& call);
Value getMonitorsRect(BuiltinCall& call);
Value getKeyInputDeviceList(BuiltinCall& call);

}  // namespace kivora::script::builtins
