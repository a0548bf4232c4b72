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
constexpr BuiltinEntry kBuiltins[] = {
    {"ABS", 1, 1, abs},  // numbers
    {"ARRAYADD", 1, kUnbounded, notAvailable},  // arrays
    {"ARRAYINIT", 1, kUnbounded, notAvailable},  // arrays
    {"ARRAYSIZE", 1, 1, notAvailable},  // arrays
    {"ARRAYTOMULTILINESTRING", 1, 2, notAvailable},  // arrays
    {"ASCIICODE", 1, 1, notAvailable},  // strings
    {"CHR", 1, 1, notAvailable},  // strings
    {"CLAMP", 3, 3, clamp},  // numbers
    {"CONVCHAR", 2, 2, notAvailable},  // strings
    {"DEFINE", 2, 2, define},  // numbers
    {"DELARRAYITEM", 2, 2, notAvailable},  // arrays
    {"DELCTRLC", 2, 2, notAvailable},  // strings
    {"DELEMPTYARRAY", 1, 1, notAvailable},  // arrays
    {"ENDSWITH", 2, 2, notAvailable},  // strings
    {"ERROR", 1, 2, error},  // dialogs
    {"FORMAT", 1, kUnbounded, notAvailable},  // strings
    {"GETACTIVEWINDOWTITLE", 0, 0, notAvailable},  // system
    {"GETASCIICODE", 2, 2, notAvailable},  // strings
    {"GETCLIPBOARDTEXT", 0, 0, notAvailable},  // system
    {"GETCURRENTDAY", 0, 0, notAvailable},  // system
    {"GETCURRENTDAYOFWEEK", 0, 0, notAvailable},  // system
    {"GETCURRENTHOUR", 0, 0, notAvailable},  // system
    {"GETCURRENTMILLISECONDS", 0, 0, notAvailable},  // system
    {"GETCURRENTMINUTE", 0, 0, notAvailable},  // system
    {"GETCURRENTMONTH", 0, 0, notAvailable},  // system
    {"GETCURRENTSECOND", 0, 0, notAvailable},  // system
    {"GETCURRENTYEAR", 0, 0, notAvailable},  // system
    {"GETCURSORPOSX", 0, 0, notAvailable},  // system
    {"GETCURSORPOSY", 0, 0, notAvailable},  // system
    {"GETENV", 1, 1, notAvailable},  // system
    {"GETIMESTATE", 0, 0, notAvailable},  // system
    {"GETKEYINPUTDEVICELIST", 1, 1, notAvailable},  // system
    {"GETKEYSTATE", 1, 1, notAvailable},  // system
    {"GETKX_SCRIPTVERSION", 0, 0, notAvailable},  // system
    {"GETMONITORSRECT", 4, 6, notAvailable},  // system
    {"GETSYSTEMMETRICS", 1, 1, notAvailable},  // system
    {"GETTICKCOUNT", 0, 0, notAvailable},  // system
    {"INFORMATION", 1, 2, information},  // dialogs
    {"INPUT", 1, 2, input},  // dialogs
    {"INSCRLF", 3, 3, notAvailable},  // strings
    {"JOIN", 1, 2, notAvailable},  // strings
    {"KEYBDEVENT", 2, 2, notAvailable},  // system
    {"LCLITE", 2, 2, notAvailable},  // strings
    {"LEFT", 2, 2, notAvailable},  // strings
    {"LEN", 1, 1, notAvailable},  // arrays
    {"MAX", 1, kUnbounded, max},  // numbers
    {"MBLEFT", 2, 2, notAvailable},  // strings
    {"MBMID", 3, 3, notAvailable},  // strings
    {"MBRIGHT", 2, 2, notAvailable},  // strings
    {"MBSTRLEN", 1, 1, notAvailable},  // strings
    {"MBSTRSTR", 2, 2, notAvailable},  // strings
    {"MBSTRSTRI", 2, 2, notAvailable},  // strings
    {"MBSUBSTR", 3, 3, notAvailable},  // strings
    {"MBSUBSTRING", 3, 3, notAvailable},  // strings
    {"MESSAGE", 1, 2, textOut},  // dialogs
    {"MESSAGEBEEP", 1, 1, notAvailable},  // system
    {"MESSAGEBOX", 1, 2, textOut},  // dialogs
    {"MID", 3, 3, notAvailable},  // strings
    {"MIN", 1, kUnbounded, min},  // numbers
    {"MOUSEBUTTONLEFT", 1, 1, notAvailable},  // system
    {"MOUSEBUTTONMIDDLE", 1, 1, notAvailable},  // system
    {"MOUSEBUTTONRIGHT", 1, 1, notAvailable},  // system
    {"MOUSEBUTTONX1", 1, 1, notAvailable},  // system
    {"MOUSEBUTTONX2", 1, 1, notAvailable},  // system
    {"MOUSEWHEEL", 1, 1, notAvailable},  // system
    {"MOVEMOUSE", 2, 2, notAvailable},  // system
    {"MULTILINETOSTRINGARRAY", 1, 1, notAvailable},  // arrays
    {"PADLEFT", 2, 3, notAvailable},  // strings
    {"PADRIGHT", 2, 3, notAvailable},  // strings
    {"QUESTION", 1, 2, question},  // dialogs
    {"QUESTIONOKCANCEL", 1, 2, questionOkCancel},  // dialogs
    {"QUESTIONYESNO", 1, 2, question},  // dialogs
    {"QUESTIONYESNOCANCEL", 1, 2, questionYesNoCancel},  // dialogs
    {"QUESTION_OKCANCEL", 1, 2, questionOkCancel},  // dialogs
    {"QUESTION_YESNO", 1, 2, question},  // dialogs
    {"QUESTION_YESNOCANCEL", 1, 2, questionYesNoCancel},  // dialogs
    {"RAND", 0, 0, rand},  // numbers
    {"REGEX_MATCH", 2, 3, notAvailable},  // regular expressions
    {"REGEX_REPLACE", 3, 4, notAvailable},  // regular expressions
    {"REGEX_SEARCH", 2, 5, notAvailable},  // regular expressions
    {"REPLACE", 2, 3, notAvailable},  // strings
    {"RESIZE", 2, 2, notAvailable},  // arrays
    {"RIGHT", 2, 2, notAvailable},  // strings
    {"SENDINPUTUNICODE", 2, 2, notAvailable},  // system
    {"SETCLIPBOARDTEXT", 1, 1, notAvailable},  // system
    {"SETCURSORPOS", 2, 2, notAvailable},  // system
    {"SETENV", 2, 2, notAvailable},  // system
    {"SETIMESTATE", 1, 1, notAvailable},  // system
    {"SLEEP", 1, 1, notAvailable},  // system
    {"SORTARRAY", 1, 1, notAvailable},  // arrays
    {"SORTARRAYDESC", 1, 1, notAvailable},  // arrays
    {"SPLIT", 3, 3, notAvailable},  // strings
    {"SQRT", 1, 1, sqrt},  // numbers
    {"SRAND", 0, 1, srand},  // numbers
    {"STARTSWITH", 2, 2, notAvailable},  // strings
    {"STRCMP", 2, 2, notAvailable},  // strings
    {"STRCMPI", 2, 2, notAvailable},  // strings
    {"STRLEN", 1, 1, notAvailable},  // strings
    {"STRLWR", 1, 1, notAvailable},  // strings
    {"STRSTR", 2, 2, notAvailable},  // strings
    {"STRSTRI", 2, 2, notAvailable},  // strings
    {"STRUPR", 1, 1, notAvailable},  // strings
    {"SUBSTR", 3, 3, notAvailable},  // strings
    {"SUBSTRING", 3, 3, notAvailable},  // strings
    {"TEXTOUT", 1, 2, textOut},  // dialogs
    {"TOINT", 1, 1, notAvailable},  // strings
    {"TOSTR", 1, 1, notAvailable},  // strings
    {"TOSTR16", 1, 1, notAvailable},  // strings
    {"TOSTR2", 1, 1, notAvailable},  // strings
    {"TRIMLEFT", 1, 2, notAvailable},  // strings
    {"TRIMRIGHT", 1, 2, notAvailable},  // strings
    {"TYPEOF", 1, 1, typeOf},  // numbers
    {"UNIQARRAY", 1, 1, notAvailable},  // arrays
    {"WARNING", 1, 2, warning},  // dialogs
};

}  // namespace

const BuiltinEntry* findBuiltin(std::string_view upperName) {
  const auto less = [](const BuiltinEntry& row, std::string_view key) { return std::string_view(row.name) < key; };
  const auto it = std::lower_bound(std::begin(kBuiltins), std::end(kBuiltins), upperName, less);
  if (it == std::end(kBuiltins) || std::string_view(it->name) != upperName) return nullptr;
  return &*it;
}

std::span<const BuiltinEntry> builtinTable() { return kBuiltins; }

}  // namespace kivora::script
