#pragma once
// The KX-Script scanner: turns the UTF-8 text of a script into the parser's
// tokens and keeps the line and column of each match for error reports.

#include "script/tokens.h"
#include "script_parser.hpp"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kivora::script {

struct ScannerState {
  int line = 1;
  int column = 1;
  // The last match: where it started and its text (a comment keeps only its
  // marker, a literal its closing quote).
  int matchLine = 1;
  int matchColumn = 1;
  std::string matchText;
  // The literal being collected and the line it started on.
  std::string literal;
  int literalLine = 1;

  void noteMatch(const char* text, std::size_t length);
  void noteEnd();
  void keepCommentMarker();
  void startLiteral();
  Parser::symbol_type finishLiteral();
};

class Scanner {
 public:
  // The text is copied; it must end with a newline for the last statement to end.
  explicit Scanner(std::string_view text);
  ~Scanner();
  Scanner(const Scanner&) = delete;
  Scanner& operator=(const Scanner&) = delete;

  Parser::symbol_type next() { return scan(); }
  const ScannerState& state() const { return state_; }

 private:
  Parser::symbol_type scan();  // generated from lexer.l

  std::vector<char> buffer_;  // the text and the two NULs the scanner ends on
  ScannerState state_;
  // Named as the generated code expects.
  void* yyscanner = nullptr;  // NOLINT(readability-identifier-naming)
};

// The scanner's own failures: exhausted memory becomes std::bad_alloc, anything
// else std::runtime_error, so the runner reports them and the process goes on.
[[noreturn]] void scannerFailure(const char* message);

// C strtol of the digits with the given base, values beyond 2147483647 saturating.
std::int32_t parseSaturated(const char* digits, int base);
// The byte an escape in an ordinary literal stands for (the byte after '\').
char escapedByte(char c);

}  // namespace kivora::script
