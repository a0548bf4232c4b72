#pragma once
// What the parser works with while it reads one script: the engine it enters
// function definitions into, the scanner, the source lines for error reports,
// and the tree it leaves behind.

#include "script/context.h"
#include "script/nodes.h"

#include <string>
#include <string_view>
#include <vector>

namespace kivora::script {

class Scanner;

// The parser's location: the line a symbol starts on.
struct SourcePos {
  int line = 1;
};

// The parser stack's limit; deeper nesting is a syntax error.
inline constexpr std::size_t kMaxParserStackDepth = 10000;

struct ParseContext {
  ScriptContext& script;
  Scanner& scanner;
  const std::vector<std::string>& sourceLines;
  Owned<BlockNode> root;

  // Reports a syntax error (code 101) at the scanner's last token.
  void reportSyntaxError(std::string_view message);
  void defineFunction(std::string name, std::vector<std::string> parameters, Owned<BlockNode> body);
};

// Parses the text into ctx.root; false after a reported syntax error.
bool parseScript(ParseContext& ctx);

// The syntax-error report: "line L, col C: message (got 'text')" followed by the
// source line and a caret line under the token when the line is known.
std::string formatSyntaxError(int line, int column, std::string_view message,
                              std::string_view tokenText,
                              const std::vector<std::string>& sourceLines);

}  // namespace kivora::script
