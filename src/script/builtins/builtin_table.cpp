#include "script/builtins/builtin_table.h"

#include "script/builtins/handlers.h"

#include <algorithm>
#include <iterator>

namespace kivora::script {

namespace {

using namespace builtins;

constexpr std::uint16_t kUnbounded = 65535;

// Sorted by name in byte order ('_' sorts after the letters). The comment names
// each row's family; rows of one family with the same handler behave alike.
// A true last column marks the handlers that read only their arguments.
constexpr BuiltinEntry kBuiltins[] = {
    {"ABS", 1, 1, abs},                                        // numbers
    {"ARRAYADD", 1, kUnbounded, arrayAdd},                     // arrays
    {"ARRAYINIT", 1, kUnbounded, arrayInit},                   // arrays
    {"ARRAYSIZE", 1, 1, arraySize},                            // arrays
    {"ARRAYTOMULTILINESTRING", 1, 2, arrayToMultiLineString},  // arrays
    {"ASCIICODE", 1, 1, chr, true},                            // strings
    {"CHR", 1, 1, chr, true},                                  // strings
    {"CLAMP", 3, 3, clamp},                                    // numbers
    {"CONVCHAR", 2, 2, convChar, true},                        // strings
    {"DEFINE", 2, 2, define},                                  // numbers
    {"DELARRAYITEM", 2, 2, delArrayItem},                      // arrays
    {"DELCTRLC", 2, 2, delCtrlC, true},                        // strings
    {"DELEMPTYARRAY", 1, 1, delEmptyArray},                    // arrays
    {"ENDSWITH", 2, 2, endsWith, true},                        // strings
    {"ERROR", 1, 2, error},                                    // dialogs
    {"FORMAT", 1, kUnbounded, format, true},                   // strings
    {"GETACTIVEWINDOWTITLE", 0, 0, getActiveWindowTitle},      // system
    {"GETASCIICODE", 2, 2, getAsciiCode, true},                // strings
    {"GETCLIPBOARDTEXT", 0, 0, getClipboardText},              // system
    {"GETCURRENTDAY", 0, 0, getCurrentDay},                    // system
    {"GETCURRENTDAYOFWEEK", 0, 0, getCurrentDayOfWeek},        // system
    {"GETCURRENTHOUR", 0, 0, getCurrentHour},                  // system
    {"GETCURRENTMILLISECONDS", 0, 0, getCurrentMilliseconds},  // system
    {"GETCURRENTMINUTE", 0, 0, getCurrentMinute},              // system
    {"GETCURRENTMONTH", 0, 0, getCurrentMonth},                // system
    {"GETCURRENTSECOND", 0, 0, getCurrentSecond},              // system
    {"GETCURRENTYEAR", 0, 0, getCurrentYear},                  // system
    {"GETCURSORPOSX", 0, 0, getCursorPosX},                    // system
    {"GETCURSORPOSY", 0, 0, getCursorPosY},                    // system
    {"GETENV", 1, 1, getEnv},                                  // system
    {"GETIMESTATE", 0, 0, getImeState},                        // system
    {"GETKEYINPUTDEVICELIST", 1, 1, getKeyInputDeviceList},    // system
    {"GETKEYSTATE", 1, 1, getKeyState},                        // system
    {"GETKX_SCRIPTVERSION", 0, 0, getKxScriptVersion},         // system
    {"GETMONITORSRECT", 4, 6, getMonitorsRect},                // system
    {"GETSYSTEMMETRICS", 1, 1, getSystemMetrics},              // system
    {"GETTICKCOUNT", 0, 0, getTickCount},                      // system
    {"INFORMATION", 1, 2, information},                        // dialogs
    {"INPUT", 1, 2, input},                                    // dialogs
    {"INSCRLF", 3, 3, insCrLf, true},                          // strings
    {"JOIN", 1, 2, join},                                      // strings
    {"KEYBDEVENT", 2, 2, keybdEvent},                          // system
    {"LCLITE", 2, 2, lcLite, true},                            // strings
    {"LEFT", 2, 2, left, true},                                // strings
    {"LEN", 1, 1, arraySize},                                  // arrays
    {"MAX", 1, kUnbounded, max},                               // numbers
    {"MBLEFT", 2, 2, mbLeft, true},                            // strings
    {"MBMID", 3, 3, mbMid, true},                              // strings
    {"MBRIGHT", 2, 2, mbRight, true},                          // strings
    {"MBSTRLEN", 1, 1, mbStrLen, true},                        // strings
    {"MBSTRSTR", 2, 2, mbStrStr, true},                        // strings
    {"MBSTRSTRI", 2, 2, mbStrStrI, true},                      // strings
    {"MBSUBSTR", 3, 3, mbMid, true},                           // strings
    {"MBSUBSTRING", 3, 3, mbMid, true},                        // strings
    {"MESSAGE", 1, 2, textOut},                                // dialogs
    {"MESSAGEBEEP", 1, 1, messageBeep},                        // system
    {"MESSAGEBOX", 1, 2, textOut},                             // dialogs
    {"MID", 3, 3, mid, true},                                  // strings
    {"MIN", 1, kUnbounded, min},                               // numbers
    {"MOUSEBUTTONLEFT", 1, 1, mouseButtonLeft},                // system
    {"MOUSEBUTTONMIDDLE", 1, 1, mouseButtonMiddle},            // system
    {"MOUSEBUTTONRIGHT", 1, 1, mouseButtonRight},              // system
    {"MOUSEBUTTONX1", 1, 1, mouseButtonX1},                    // system
    {"MOUSEBUTTONX2", 1, 1, mouseButtonX2},                    // system
    {"MOUSEWHEEL", 1, 1, mouseWheel},                          // system
    {"MOVEMOUSE", 2, 2, moveMouse},                            // system
    {"MULTILINETOSTRINGARRAY", 1, 1, multiLineToStringArray},  // arrays
    {"PADLEFT", 2, 3, padLeft, true},                          // strings
    {"PADRIGHT", 2, 3, padRight, true},                        // strings
    {"QUESTION", 1, 2, question},                              // dialogs
    {"QUESTIONOKCANCEL", 1, 2, questionOkCancel},              // dialogs
    {"QUESTIONYESNO", 1, 2, question},                         // dialogs
    {"QUESTIONYESNOCANCEL", 1, 2, questionYesNoCancel},        // dialogs
    {"QUESTION_OKCANCEL", 1, 2, questionOkCancel},             // dialogs
    {"QUESTION_YESNO", 1, 2, question},                        // dialogs
    {"QUESTION_YESNOCANCEL", 1, 2, questionYesNoCancel},       // dialogs
    {"RAND", 0, 0, rand},                                      // numbers
    {"REGEX_MATCH", 2, 3, regexMatch, true},                   // regular expressions
    {"REGEX_REPLACE", 3, 4, regexReplace, true},               // regular expressions
    {"REGEX_SEARCH", 2, 5, regexSearch},                       // regular expressions
    {"REPLACE", 2, 3, replace, true},                          // strings
    {"RESIZE", 2, 2, resize},                                  // arrays
    {"RIGHT", 2, 2, right, true},                              // strings
    {"SENDINPUTUNICODE", 2, 2, sendInputUnicode},              // system
    {"SETCLIPBOARDTEXT", 1, 1, setClipboardText},              // system
    {"SETCURSORPOS", 2, 2, setCursorPos},                      // system
    {"SETENV", 2, 2, setEnv},                                  // system
    {"SETIMESTATE", 1, 1, setImeState},                        // system
    {"SLEEP", 1, 1, sleep},                                    // system
    {"SORTARRAY", 1, 1, sortArray},                            // arrays
    {"SORTARRAYDESC", 1, 1, sortArrayDesc},                    // arrays
    {"SPLIT", 3, 3, split},                                    // strings
    {"SQRT", 1, 1, sqrt},                                      // numbers
    {"SRAND", 0, 1, srand},                                    // numbers
    {"STARTSWITH", 2, 2, startsWith, true},                    // strings
    {"STRCMP", 2, 2, strCmp, true},                            // strings
    {"STRCMPI", 2, 2, strCmpI, true},                          // strings
    {"STRLEN", 1, 1, strLen, true},                            // strings
    {"STRLWR", 1, 1, strLwr, true},                            // strings
    {"STRSTR", 2, 2, strStr, true},                            // strings
    {"STRSTRI", 2, 2, strStrI, true},                          // strings
    {"STRUPR", 1, 1, strUpr, true},                            // strings
    {"SUBSTR", 3, 3, mid, true},                               // strings
    {"SUBSTRING", 3, 3, mid, true},                            // strings
    {"TEXTOUT", 1, 2, textOut},                                // dialogs
    {"TOINT", 1, 1, toInt, true},                              // strings
    {"TOSTR", 1, 1, toStr, true},                              // strings
    {"TOSTR16", 1, 1, toStr16, true},                          // strings
    {"TOSTR2", 1, 1, toStr2, true},                            // strings
    {"TRIMLEFT", 1, 2, trimLeft, true},                        // strings
    {"TRIMRIGHT", 1, 2, trimRight, true},                      // strings
    {"TYPEOF", 1, 1, typeOf},                                  // numbers
    {"UNIQARRAY", 1, 1, uniqArray},                            // arrays
    {"WARNING", 1, 2, warning},                                // dialogs
};

}  // namespace

const BuiltinEntry* findBuiltin(std::string_view upperName) {
  const auto less = [](const BuiltinEntry& row, std::string_view key) {
    return std::string_view(row.name) < key;
  };
  const auto it = std::lower_bound(std::begin(kBuiltins), std::end(kBuiltins), upperName, less);
  if (it == std::end(kBuiltins) || std::string_view(it->name) != upperName) return nullptr;
  return &*it;
}

std::span<const BuiltinEntry> builtinTable() { return kBuiltins; }

}  // namespace kivora::script
