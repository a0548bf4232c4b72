#pragma once
// The patterns the regular-expression builtins compiled during one run, kept
// by (pattern, syntax flags): a pattern used in a loop is compiled once. A
// compiled pattern is never changed by matching, so a kept one behaves as a
// fresh one would. Patterns matched on ASCII text directly are kept apart
// from those matched on UTF-16.

#include <boost/regex.hpp>

#include <map>
#include <string>
#include <utility>

namespace kivora::script {

template <typename Char>
class PatternCache {
 public:
  using Regex = boost::basic_regex<Char>;

  // The compiled pattern; what compiling throws (a bad pattern) is thrown
  // again at every use, as nothing is kept for it.
  const Regex& compiled(const std::basic_string<Char>& pattern,
                        boost::regex_constants::syntax_option_type syntax) {
    auto key = std::make_pair(pattern, static_cast<unsigned>(syntax));
    if (const auto it = patterns_.find(key); it != patterns_.end()) return it->second;
    Regex compiled(pattern.data(), pattern.data() + pattern.size(), syntax);
    // A script that makes new patterns without end keeps only the latest ones.
    if (patterns_.size() >= kMostPatterns) patterns_.clear();
    return patterns_.emplace(std::move(key), std::move(compiled)).first->second;
  }

 private:
  static constexpr std::size_t kMostPatterns = 64;
  std::map<std::pair<std::basic_string<Char>, unsigned>, Regex> patterns_;
};

struct RegexCache {
  PatternCache<char> ascii;
  PatternCache<wchar_t> utf16;
};

}  // namespace kivora::script
