#pragma once
// The scanner's view of a text, token by token: for tests and tools that want
// to see how a script is read without parsing it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kivora::script {

struct TokenInfo {
  std::string kind;         // the parser's name: IF, IDENTIFIER, EOL, '(' ...
  std::string text;         // names and literals: their value; other tokens: the matched text
  std::int32_t number = 0;  // integers: their value
  int line = 0;             // the line the token starts on
};

std::vector<TokenInfo> scanTokens(std::string_view text);

}  // namespace kivora::script
