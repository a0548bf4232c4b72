#pragma once
// Message boxes and the input dialog as a console program has them: texts go to
// standard output, answers come from standard input, one line each.

#include "script/builtins/system_interface.h"

#include <cstdint>
#include <string>

namespace kivora::kxscript {

// Writes the text and a newline; for the question types reads one line: y, yes
// or ok answer Yes/OK, n or no answer No, anything else (or the end) Cancel.
int consoleMessageBox(const char16_t* text, unsigned flags);

// Writes the message and a newline and reads one line as the entered text; the
// end of the input cancels.
std::intptr_t consoleInputDialog(script::InputDialogParams& params);

void writeOut(const std::string& utf8);
void writeErr(const std::string& utf8);

}  // namespace kivora::kxscript
