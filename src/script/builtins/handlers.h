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

// The rows whose families are still to be written: they report the call
// exactly as an unknown function, so nothing pretends to work.
Value notAvailable(BuiltinCall& call);

}  // namespace kivora::script::builtins
