#include "monitor/window_rules.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "monitor/log_format.h"
#include "monitor/texts.h"
#include "platform/unicode.h"
#include "settings/regw.h"

namespace kivora::monitor {

namespace {

using settings::REGW;
using settings::SettingsStore;

// In the ini file an absent title reads as this default, which ends the list.
constexpr std::u16string_view kMissingTitle = u"--def--";
constexpr std::uint32_t kLastRuleNumber = 0xFFFFFFFE;

constexpr std::u16string_view kNameSuffix = u"_NAME";
constexpr std::array<std::u16string_view, 4> kCodeSuffixes{u"_NMLK", u"_CPLK", u"_SCLK", u"_IME"};

// "%08X" followed by the suffix, made in place: a tick makes one per rule.
class ValueName {
 public:
  std::u16string_view of(std::uint32_t number, std::u16string_view suffix) {
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    for (int i = 7; i >= 0; --i) {
      text_[static_cast<std::size_t>(i)] = kDigits[number & 0xF];
      number >>= 4;
    }
    std::copy(suffix.begin(), suffix.end(), text_.begin() + 8);
    return {text_.data(), 8 + suffix.size()};
  }

 private:
  std::array<char16_t, 16> text_{};
};

std::u16string valueName(std::uint32_t number, std::u16string_view suffix) {
  ValueName name;
  return std::u16string(name.of(number, suffix));
}

LockPolicy& codeAt(RuleCodes& codes, std::size_t i) {
  switch (i) {
    case 0:
      return codes.numLock;
    case 1:
      return codes.capsLock;
    case 2:
      return codes.scrollLock;
    default:
      return codes.ime;
  }
}

// The rule's title in the ini file, or nothing at the end of the list.
std::optional<std::u16string> iniTitle(const SettingsStore& store, std::uint32_t number) {
  std::u16string title;
  settings::ReadSettingString(store, true, valueName(number, kNameSuffix), kMissingTitle, title,
                              kRuleTitleCapacity);
  if (title == kMissingTitle) return std::nullopt;
  return title;
}

// The titles of the ini file's rules from one read of the settings section:
// title n is the value of the first line whose key is valueName(n, "_NAME")
// in either case, as GetPrivateProfileStringW gives it (blanks around it
// trimmed, one pair of enclosing quotes taken off, cut like iniTitle's).
class IniRuleTitles {
 public:
  // Nothing when the section is too large to be worth reading whole each
  // tick (a big script is kept in it); the titles are then read one by one.
  static std::optional<IniRuleTitles> read(const SettingsStore& store) {
    IniRuleTitles titles;
    for (std::uint32_t size = kFirstReadSize; size <= kLargestRead; size *= 8) {
      titles.text_ = std::make_unique_for_overwrite<char16_t[]>(size);
      const std::uint32_t copied = store.profile.GetPrivateProfileSectionW(
          store.location.iniSection.c_str(), titles.text_.get(), size,
          store.location.iniPath.c_str());
      if (copied + 2 < size) {
        titles.index(std::u16string_view(titles.text_.get(), copied));
        return titles;
      }
    }
    return std::nullopt;
  }

  // Title n, or nothing at the end of the list.
  std::optional<std::u16string_view> title(std::uint32_t number) const {
    if (number >= titles_.size() || titles_[number] == kMissingTitle) return std::nullopt;
    return titles_[number];
  }

 private:
  static constexpr std::uint32_t kFirstReadSize = 32 * 1024;
  static constexpr std::uint32_t kLargestRead = 256 * 1024;

  static std::u16string_view trimmed(std::u16string_view text) {
    const auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
  }

  // The rule number of a title's key, or nothing for any other key.
  static std::optional<std::uint32_t> titleNumber(std::u16string_view key) {
    if (key.size() != 8 + kNameSuffix.size() || !equalsIgnoreAsciiCase(key.substr(8), kNameSuffix))
      return std::nullopt;
    std::uint32_t number = 0;
    for (const char16_t c : key.substr(0, 8)) {
      const char16_t u = asciiUpper(c);
      const int digit =
          u >= u'0' && u <= u'9' ? u - u'0' : (u >= u'A' && u <= u'F' ? u - u'A' + 10 : -1);
      if (digit < 0) return std::nullopt;
      number = number << 4 | static_cast<std::uint32_t>(digit);
    }
    return number;
  }

  static std::u16string_view profileValue(std::u16string_view value) {
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    return value.substr(0, kRuleTitleCapacity - 1);
  }

  // Lines are "key=value"; a line without '=' holds no value. The list ends
  // at its first gap, so no number beyond the count of lines can be reached.
  void index(std::u16string_view lines) {
    std::size_t count = 0;
    for (const char16_t c : lines) count += c == u'\0' ? 1 : 0;
    titles_.assign(count, std::nullopt);
    while (!lines.empty()) {
      const std::size_t end = std::min(lines.find(u'\0'), lines.size());
      const std::u16string_view line = lines.substr(0, end);
      lines.remove_prefix(std::min(end + 1, lines.size()));
      const std::size_t equals = line.find(u'=');
      if (equals == std::u16string_view::npos) continue;
      const auto number = titleNumber(trimmed(line.substr(0, equals)));
      if (!number || *number >= titles_.size() || titles_[*number]) continue;
      titles_[*number] = profileValue(trimmed(line.substr(equals + 1)));
    }
  }

  std::unique_ptr<char16_t[]> text_;  // the section's lines; titles_ points into it
  std::vector<std::optional<std::u16string_view>> titles_;  // by number
};

RuleCodes iniCodes(const SettingsStore& store, std::uint32_t number) {
  RuleCodes codes;
  for (std::size_t i = 0; i < kCodeSuffixes.size(); ++i)
    codeAt(codes, i) =
        settings::ReadSettingInt(store, true, valueName(number, kCodeSuffixes[i]), 0);
  return codes;
}

std::optional<std::u16string> registryTitle(REGW& key, std::uint32_t number,
                                            std::size_t capacity = kRuleTitleCapacity) {
  std::u16string title;
  if (!key.ReadStringW(valueName(number, kNameSuffix), title, capacity)) return std::nullopt;
  return title;
}

RuleCodes registryCodes(REGW& key, std::uint32_t number) {
  RuleCodes codes;
  for (std::size_t i = 0; i < kCodeSuffixes.size(); ++i)
    codeAt(codes, i) = key.ReadIntegerW(valueName(number, kCodeSuffixes[i]), 0);
  return codes;
}

bool openRulesKey(REGW& key, const SettingsStore& store, unsigned flags) {
  return key.OpenKey(store.location.registryRoot, store.location.specProgKey(), flags);
}

// Finds the rule in the ini file: the titles from one read of the section, or
// one by one when it is too large; the codes of the rule that applies are read
// by value, so the system's own reading of numbers decides them.
RuleCodes findInIni(const SettingsStore& store, diag::DebugLog& log, std::u16string_view title) {
  const std::optional<IniRuleTitles> titles = IniRuleTitles::read(store);
  std::u16string read;
  const auto titleOf = [&](std::uint32_t number) -> std::optional<std::u16string_view> {
    if (titles) return titles->title(number);
    auto value = iniTitle(store, number);
    if (!value) return std::nullopt;
    read = std::move(*value);
    return read;
  };
  for (std::uint32_t number = 0;; ++number) {
    const auto ruleTitle = titleOf(number);
    if (!ruleTitle) break;
    if (title.find(*ruleTitle) != std::u16string_view::npos) {
      const RuleCodes codes = iniCodes(store, number);
      log.log(kLogTick, 1801, u"ウィンドウ名による特殊処理対象", u"");
      return codes;
    }
    if (number == kLastRuleNumber) break;
  }
  log.log(kLogTick, 1809, u"ウィンドウ名による特殊処理対象は見つからない", u"");
  return {};
}

RuleCodes findInRegistry(const SettingsStore& store, diag::DebugLog& log,
                         std::u16string_view title) {
  REGW key(store.regw);
  if (!openRulesKey(key, store, settings::kOpenReadOnly)) return {};
  ValueName name;
  std::u16string ruleTitle;  // one buffer for every title of the tick
  for (std::uint32_t number = 0;; ++number) {
    if (!key.ReadStringW(name.of(number, kNameSuffix), ruleTitle, kRuleTitleCapacity)) break;
    if (title.find(ruleTitle) != std::u16string_view::npos) {
      const RuleCodes codes = registryCodes(key, number);
      log.log(kLogTick, 1761, u"ウィンドウ名による特殊処理対象", u"");
      key.CloseKey();
      return codes;
    }
    if (number == kLastRuleNumber) break;
  }
  log.log(kLogTick, 1767, u"ウィンドウ名による特殊処理対象は見つからない", u"");
  key.CloseKey();
  return {};
}

bool saveToRegistry(const SettingsStore& store, bool modeJP, const std::vector<WindowRule>& rules,
                    BalloonShell& balloons) {
  REGW key(store.regw);
  if (!openRulesKey(key, store, settings::kOpenCreate)) {
    const auto& where = store.location;
    balloons.showNewBalloon(fillIn(texts::kRulesKeyNotOpened.pick(modeJP),
                                   {where.registryRootName + where.registryKey}),
                            BalloonIcon::Warning);
    return false;
  }
  for (std::uint32_t number = 0; number <= kLastRuleNumber; ++number) {
    if (key.ValueExistW(valueName(number, kNameSuffix)) < 0) break;
    key.DeleteValue(valueName(number, kNameSuffix));
    for (const auto suffix : kCodeSuffixes) key.DeleteValue(valueName(number, suffix));
  }
  bool written = true;
  for (std::size_t i = 0; i < rules.size(); ++i) {
    const auto number = static_cast<std::uint32_t>(i);
    RuleCodes codes = rules[i].codes;
    written &= key.WriteStringW(valueName(number, kNameSuffix), rules[i].title,
                                settings::StringWriteKind::Sz);
    for (std::size_t c = 0; c < kCodeSuffixes.size(); ++c)
      written &= key.WriteIntegerW(valueName(number, kCodeSuffixes[c]), codeAt(codes, c));
  }
  key.CloseKey();
  return written;
}

bool saveToIni(const SettingsStore& store, bool modeJP, const std::vector<WindowRule>& rules,
               BalloonShell& balloons) {
  // A profile write that finds no file creates an ANSI one, which would lose
  // every title outside the code page; the settings file is kept in UTF-16.
  settings::EnsureIniFile(store);
  std::u16string errors;
  for (std::uint32_t number = 0; number <= kLastRuleNumber; ++number) {
    if (!iniTitle(store, number)) break;
    settings::WriteSettingString(store, true, valueName(number, kNameSuffix), std::nullopt, errors,
                                 modeJP);
    for (const auto suffix : kCodeSuffixes)
      settings::WriteSettingString(store, true, valueName(number, suffix), std::nullopt, errors,
                                   modeJP);
  }
  for (std::size_t i = 0; i < rules.size(); ++i) {
    const auto number = static_cast<std::uint32_t>(i);
    RuleCodes codes = rules[i].codes;
    settings::WriteSettingString(store, true, valueName(number, kNameSuffix), rules[i].title,
                                 errors, modeJP);
    for (std::size_t c = 0; c < kCodeSuffixes.size(); ++c)
      settings::WriteSettingInt(store, true, valueName(number, kCodeSuffixes[c]), codeAt(codes, c),
                                errors, modeJP);
  }
  if (errors.empty()) return true;
  balloons.showNewBalloon(errors, BalloonIcon::Warning);
  return false;
}

}  // namespace

RuleCodes findWindowRule(const SettingsStore& store, bool useIni, diag::DebugLog& log,
                         std::u16string_view title) {
  return useIni ? findInIni(store, log, title) : findInRegistry(store, log, title);
}

std::vector<WindowRule> loadWindowRules(const SettingsStore& store, bool useIni) {
  std::vector<WindowRule> rules;
  if (useIni) {
    for (std::uint32_t number = 0; number <= kLastRuleNumber; ++number) {
      auto title = iniTitle(store, number);
      if (!title) break;
      rules.push_back({std::move(*title), iniCodes(store, number)});
    }
    return rules;
  }
  REGW key(store.regw);
  if (!openRulesKey(key, store, settings::kOpenReadOnly)) return rules;
  // The rule dialog saves back what it loads, so the registry's titles are
  // read whole here: a cut one would be stored cut.
  for (std::uint32_t number = 0; number <= kLastRuleNumber; ++number) {
    auto title = registryTitle(key, number, std::numeric_limits<std::size_t>::max());
    if (!title) break;
    rules.push_back({std::move(*title), registryCodes(key, number)});
  }
  key.CloseKey();
  return rules;
}

bool saveWindowRules(const SettingsStore& store, bool useIni, bool modeJP,
                     const std::vector<WindowRule>& rules, BalloonShell& balloons) {
  return useIni ? saveToIni(store, modeJP, rules, balloons)
                : saveToRegistry(store, modeJP, rules, balloons);
}

}  // namespace kivora::monitor
