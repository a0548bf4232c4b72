#include "script/parse_context.h"

#include "script/scanner.h"

#include <algorithm>

namespace kivora::script {

namespace {

constexpr std::size_t kMaxCaretIndent = 252;
constexpr std::size_t kMaxCaretLine = 254;

std::size_t digitCount(int n) { return std::to_string(n).size(); }

}  // namespace

std::string formatSyntaxError(int line, int column, std::string_view message,
                              std::string_view tokenText,
                              const std::vector<std::string>& sourceLines) {
  std::string report = "line " + std::to_string(line) + ", col " + std::to_string(column) + ": ";
  report += message;
  if (!tokenText.empty() && tokenText[0] != '\n' && tokenText[0] != '\r') {
    report += " (got '";
    report += tokenText;
    report += "')";
  }
  if (line < 1 || static_cast<std::size_t>(line) > sourceLines.size()) return report;
  report += "\n   " + std::to_string(line) + " | " +
            sourceLines[static_cast<std::size_t>(line) - 1] + "\n";
  // The caret sits under the token's first byte: past the "   N | " prefix.
  const std::size_t indent = std::min(
      digitCount(line) + static_cast<std::size_t>(std::max(column, 1)) + 5, kMaxCaretIndent);
  report.append(indent, ' ');
  report += '^';
  if (tokenText.size() >= 2 && indent + tokenText.size() <= kMaxCaretLine)
    report.append(tokenText.size() - 1, '~');
  return report;
}

void ParseContext::reportSyntaxError(std::string_view message) {
  const ScannerState& at = scanner.state();
  script.reportError(
      kErrSyntax, at.matchLine,
      formatSyntaxError(at.matchLine, at.matchColumn, message, at.matchText, sourceLines));
}

void ParseContext::defineFunction(std::string name, std::vector<std::string> parameters,
                                  Owned<BlockNode> body) {
  UserFunction function{name, std::move(parameters), std::move(body)};
  // A later definition replaces the earlier one, body and all.
  script.functions.insert_or_assign(std::move(name), std::move(function));
}

bool parseScript(ParseContext& ctx) {
  Parser parser(ctx);
  return parser.parse() == 0 && ctx.root;
}

}  // namespace kivora::script
