#include "script/scanner.h"

#include <cstring>
#include <new>
#include <stdexcept>

namespace kivora::script {

void ScannerState::noteMatch(const char* text, std::size_t length) {
  matchLine = line;
  matchColumn = column;
  matchText.assign(text, length);
  for (std::size_t i = 0; i < length; ++i) {
    if (text[i] == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
}

void ScannerState::noteEnd() {
  matchLine = line;
  matchColumn = column;
  matchText.clear();
}

void ScannerState::keepCommentMarker() { matchText.resize(matchText[0] == '/' ? 2 : 1); }

void ScannerState::startLiteral() {
  literal.clear();
  literalLine = matchLine;
}

Parser::symbol_type ScannerState::finishLiteral() {
  return Parser::make_STRING_LITERAL(std::move(literal), SourcePos{literalLine});
}

void scannerFailure(const char* message) {
  if (std::strncmp(message, "out of dynamic memory", 21) == 0) throw std::bad_alloc();
  throw std::runtime_error(message);
}

std::int32_t parseSaturated(const char* digits, int base) {
  constexpr std::int64_t kMax = 2147483647;
  std::int64_t v = 0;
  for (const char* p = digits; *p; ++p) {
    const char c = *p;
    const int d =
        c >= '0' && c <= '9' ? c - '0' : (c >= 'a' && c <= 'f' ? c - 'a' + 10 : c - 'A' + 10);
    v = v * base + d;
    if (v > kMax) return static_cast<std::int32_t>(kMax);
  }
  return static_cast<std::int32_t>(v);
}

char escapedByte(char c) {
  switch (c) {
    case 'a':
      return '\a';
    case 'b':
      return '\b';
    case 'f':
      return '\f';
    case 'n':
      return '\n';
    case 'r':
      return '\r';
    case 't':
      return '\t';
    case 'v':
      return '\v';
    default:
      return c;  // quotes, the backslash and every other byte stand for themselves
  }
}

std::vector<TokenInfo> scanTokens(std::string_view text) {
  Scanner scanner(text);
  std::vector<TokenInfo> tokens;
  for (;;) {
    Parser::symbol_type token = scanner.next();
    const auto kind = token.kind();
    if (kind == Parser::symbol_kind::S_YYEOF) break;
    TokenInfo info;
    info.kind = Parser::symbol_name(kind);
    info.line = token.location.line;
    if (kind == Parser::symbol_kind::S_INTEGER) {
      info.number = token.value.as<std::int32_t>();
    } else if (kind == Parser::symbol_kind::S_IDENTIFIER ||
               kind == Parser::symbol_kind::S_STRING_LITERAL ||
               kind == Parser::symbol_kind::S_LABEL_IDENT) {
      info.text = token.value.as<std::string>();
    } else {
      info.text = scanner.state().matchText;
    }
    tokens.push_back(std::move(info));
  }
  return tokens;
}

}  // namespace kivora::script
