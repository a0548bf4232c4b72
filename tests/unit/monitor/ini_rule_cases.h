#pragma once
// The tick finds a window's rule in the ini file from one read of the settings
// section; the rule dialog reads the rules value by value. Both must see the
// same list in any file people or other programs leave behind. These cases run
// over the fake profile here and over the real one under Wine.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "monitor/window_rules.h"
#include "platform/unicode.h"

namespace kivora::test {

struct IniRuleCase {
  const char* what;
  std::u16string lines;  // the file after its byte-order mark, lines ending in CR LF
};

inline std::u16string numberedRules(int count, std::u16string_view prefix) {
  std::u16string lines;
  for (int i = 0; i < count; ++i) {
    char key[16];
    std::snprintf(key, sizeof key, "%08X", i);
    const std::u16string k = utf8ToUtf16(key);
    const std::u16string n = utf8ToUtf16(std::to_string(i % 5));
    lines.append(k).append(u"_NAME=").append(prefix).append(utf8ToUtf16(std::to_string(i)));
    lines.append(u"\r\n").append(k).append(u"_NMLK=").append(n).append(u"\r\n");
    lines.append(k).append(u"_IME=").append(n).append(u"\r\n");
  }
  return lines;
}

inline std::vector<IniRuleCase> iniRuleCases() {
  const std::u16string longTitle(300, u'L');
  return {
      {"plain rules among the settings",
       u"[Kivora]\r\nNumLockState=3\r\n" + numberedRules(12, u"Window ") + u"bUseIni=1\r\n"},
      {"keys in either case, blanks around '=' and around the title",
       u"[kivora]\r\n00000000_name = Editor  \r\n00000000_NmLk=2\r\n0000000a_NAME=Ten\r\n"
       u"00000001_NAME=\tMail\t\r\n00000001_cplk = 1\r\n"},
      {"quoted titles",
       u"[Kivora]\r\n00000000_NAME=\"Quoted Title\"\r\n00000000_SCLK=1\r\n"
       u"00000001_NAME='  single '\r\n00000001_NMLK=2\r\n00000002_NAME=\"half\r\n"
       u"00000002_IME=4\r\n00000003_NAME=\"\"\r\n00000003_NMLK=1\r\n"},
      {"the first of two lines with one key counts",
       u"[Kivora]\r\n00000000_NAME=First\r\n00000000_NMLK=1\r\n00000000_NAME=Second\r\n"},
      {"a gap ends the list",
       u"[Kivora]\r\n00000000_NAME=Zero\r\n00000001_NAME=One\r\n00000003_NAME=Three\r\n"
       u"00000003_NMLK=2\r\n"},
      {"the default text ends the list",
       u"[Kivora]\r\n00000000_NAME=Alpha\r\n00000001_NAME=--def--\r\n00000002_NAME=Beta\r\n"},
      {"a title key without '='",
       u"[Kivora]\r\n00000000_NAME=Alpha\r\n00000001_NAME\r\n00000001_NMLK=2\r\n"
       u"00000002_NAME=Beta\r\n"},
      {"an empty title matches every window",
       u"[Kivora]\r\n00000000_NAME=Nowhere\r\n00000001_NAME=\r\n00000001_CPLK=2\r\n"},
      {"a long title is cut",
       u"[Kivora]\r\n00000000_NAME=" + longTitle + u"\r\n00000000_NMLK=1\r\n"},
      {"keys that only look like titles, and other sections",
       u"[Other]\r\n00000000_NAME=Decoy\r\n[Kivora]\r\n000000000_NAME=Nine digits\r\n"
       u"0000000G_NAME=Not hex\r\n00000000_NAMES=Longer\r\n 00000000_NAME = Real \r\n"
       u"00000000_NMLK=1\r\n[Later]\r\n00000001_NAME=Outside\r\n"},
      {"a section too large to read whole each tick",
       u"[Kivora]\r\nkx_script=" + std::u16string(std::size_t{300} * 1024, u'0') + u"\r\n" +
           numberedRules(3, u"Big ")},
  };
}

inline std::vector<std::uint8_t> utf16leFile(std::u16string_view lines) {
  std::vector<std::uint8_t> bytes{0xFF, 0xFE};
  for (const char16_t c : lines) {
    bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return bytes;
}

// For every case, the rule the tick finds for a window of each rule's title
// (and for two that match none) is the first rule of the list read value by
// value whose title occurs in the window's.
inline void expectSectionReadMatchesValueReads(const settings::SettingsStore& store,
                                               diag::DebugLog& log) {
  for (const IniRuleCase& c : iniRuleCases()) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(store.files.createFile(store.location.iniPath, utf16leFile(c.lines)));
    const std::vector<monitor::WindowRule> rules = monitor::loadWindowRules(store, true);
    std::vector<std::u16string> windows{u"", u"no rule names this window"};
    for (const auto& rule : rules) windows.push_back(u"<" + rule.title + u">");
    for (const auto& window : windows) {
      monitor::RuleCodes expected;
      for (const auto& rule : rules) {
        if (window.find(rule.title) != std::u16string::npos) {
          expected = rule.codes;
          break;
        }
      }
      EXPECT_EQ(monitor::findWindowRule(store, true, log, window), expected) << utf16ToUtf8(window);
    }
  }
}

}  // namespace kivora::test
