#include "script/tokens.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kivora::script {
namespace {

// The token stream as "KIND" or "KIND:value", one entry per token.
std::vector<std::string> kinds(std::string_view text) {
  std::vector<std::string> result;
  for (const TokenInfo& t : scanTokens(text)) {
    if (t.kind == "INTEGER") {
      result.push_back("INTEGER:" + std::to_string(t.number));
    } else if (t.kind == "IDENTIFIER" || t.kind == "STRING_LITERAL" || t.kind == "LABEL_IDENT") {
      result.push_back(t.kind + ":" + t.text);
    } else {
      result.push_back(t.kind);
    }
  }
  return result;
}

using V = std::vector<std::string>;

TEST(Lexer, KeywordsAnyCaseButLongerWordsAreNames) {
  EXPECT_EQ(
      kinds("IF If if If2 elseif else$\n"),
      (V{"IF", "IF", "IF", "IDENTIFIER:IF2", "IDENTIFIER:ELSEIF", "IDENTIFIER:ELSE$", "EOL"}));
  EXPECT_EQ(kinds("a$b cb.Notify\n"),
            (V{"IDENTIFIER:A$", "IDENTIFIER:B", "CB", "'.'", "IDENTIFIER:NOTIFY", "EOL"}));
}

TEST(Lexer, ElseAndBraceOnALaterLineJoinTheLineBefore) {
  EXPECT_EQ(kinds("}\nElse {\n"), (V{"'}'", "ELSE", "'{'", "EOL"}));
  EXPECT_EQ(kinds("}\r\n\r\n  else\n"), (V{"'}'", "ELSE", "EOL"}));
  EXPECT_EQ(kinds("if x\n\n{\n"), (V{"IF", "IDENTIFIER:X", "'{'", "EOL"}));
  // A word that only starts with else is a statement of its own.
  EXPECT_EQ(kinds("}\nelsewhere = 1\n"),
            (V{"'}'", "EOL", "IDENTIFIER:ELSEWHERE", "ASSIGN", "INTEGER:1", "EOL"}));
  EXPECT_EQ(kinds("}\nelse2\n"), (V{"'}'", "EOL", "IDENTIFIER:ELSE2", "EOL"}));
}

TEST(Lexer, CommentsEndTheLine) {
  EXPECT_EQ(kinds("a # x\nb // y\nc ; z\n"),
            (V{"IDENTIFIER:A", "EOL", "IDENTIFIER:B", "EOL", "IDENTIFIER:C", "EOL"}));
  EXPECT_EQ(kinds("x = 1 # no newline at the end"),
            (V{"IDENTIFIER:X", "ASSIGN", "INTEGER:1", "EOL"}));
}

TEST(Lexer, LineContinuationNeedsABareNewline) {
  EXPECT_EQ(kinds("1 +  \n2\n"), (V{"INTEGER:1", "'+'", "INTEGER:2", "EOL"}));
  EXPECT_EQ(kinds("f(\n1)\n"), (V{"IDENTIFIER:F", "'('", "INTEGER:1", "')'", "EOL"}));
  EXPECT_EQ(kinds("1 +\r\n2\n"), (V{"INTEGER:1", "'+'", "EOL", "EOL", "INTEGER:2", "EOL"}));
  // An equals sign at a line end continues too, but as a plain character the
  // grammar does not know, so such a line never parses.
  EXPECT_EQ(kinds("x =\n1\n"), (V{"IDENTIFIER:X", "invalid token", "INTEGER:1", "EOL"}));
}

TEST(Lexer, NumbersSaturateAndStopAtTheFirstForeignCharacter) {
  EXPECT_EQ(kinds("0xFF 0XfF 0b101 0b102 0x 12ab\n"),
            (V{"INTEGER:255", "INTEGER:255", "INTEGER:5", "INTEGER:2", "INTEGER:2", "INTEGER:0",
               "IDENTIFIER:X", "INTEGER:12", "IDENTIFIER:AB", "EOL"}));
  EXPECT_EQ(kinds("0xFFFFFFFF 99999999999 -5\n"),
            (V{"INTEGER:2147483647", "INTEGER:2147483647", "'-'", "INTEGER:5", "EOL"}));
}

TEST(Lexer, LiteralsAndTheirEscapes) {
  EXPECT_EQ(kinds(R"("a\tb\"c\x41" 'it''s' "q'q" 'd"d')"
                  "\n"),
            (V{"STRING_LITERAL:a\tb\"cx41", "STRING_LITERAL:it", "STRING_LITERAL:s",
               "STRING_LITERAL:q'q", "STRING_LITERAL:d\"d", "EOL"}));
  EXPECT_EQ(kinds(R"("\a\b\f\n\r\v\\\'")"
                  "\n"),
            (V{"STRING_LITERAL:\a\b\f\n\r\v\\'", "EOL"}));
  // Raw literals keep backslashes, and a quote after a backslash does not end them.
  EXPECT_EQ(
      kinds(R"(@"C:\Users" "C:\Users" @'a\'b')"
            "\n"),
      (V{R"(STRING_LITERAL:C:\Users)", "STRING_LITERAL:C:Users", R"(STRING_LITERAL:a\'b)", "EOL"}));
}

TEST(Lexer, LiteralsGoOnOverLineBreaksWithoutThem) {
  const auto tokens = scanTokens("\"ab\ncd\\\nef\" x\n");
  ASSERT_EQ(tokens.size(), 3u);
  EXPECT_EQ(tokens[0].text, "abcd\\ef");
  EXPECT_EQ(tokens[0].line, 1);
  EXPECT_EQ(tokens[1].line, 3);
  // An unterminated literal is dropped at the end of the input.
  EXPECT_EQ(kinds("x \"open\n"), (V{"IDENTIFIER:X"}));
}

TEST(Lexer, OperatorsTakeTheLongestMatch) {
  EXPECT_EQ(
      kinds("=== !== == != <= >= && || ++ -- **= ** >>= >> <<= << |= ^= &= %= /= *= -= += = x\n"),
      (V{"STRICT_EQ",
         "STRICT_NE",
         "EQ",
         "NE",
         "LE",
         "GE",
         "AND",
         "OR",
         "INC",
         "DEC",
         "POW_ASSIGN",
         "POW",
         "RSHIFT_ASSIGN",
         "RS",
         "LSHIFT_ASSIGN",
         "LS",
         "OR_ASSIGN",
         "XOR_ASSIGN",
         "AND_ASSIGN",
         "MOD_ASSIGN",
         "DIV_ASSIGN",
         "MUL_ASSIGN",
         "SUB_ASSIGN",
         "ADD_ASSIGN",
         "ASSIGN",
         "IDENTIFIER:X",
         "EOL"}));
}

TEST(Lexer, LabelsAndStrayBytes) {
  EXPECT_EQ(kinds(":lbl$ goto :Top\n"),
            (V{"LABEL_IDENT::LBL", "invalid token", "GOTO", "LABEL_IDENT::TOP", "EOL"}));
  const auto tokens = scanTokens("\xE6\x97\xA5\n");
  ASSERT_EQ(tokens.size(), 4u);
  EXPECT_EQ(tokens[0].text, "\xE6");
}

TEST(Lexer, CarriageReturnIsALineEndOfItsOwn) {
  const auto tokens = scanTokens("a\r\nb\n");
  ASSERT_EQ(tokens.size(), 5u);
  EXPECT_EQ(tokens[1].kind, "EOL");
  EXPECT_EQ(tokens[2].kind, "EOL");
  EXPECT_EQ(tokens[3].line, 2);
}

}  // namespace
}  // namespace kivora::script
