#include "monitor/balloon_text.h"

namespace kivora::monitor {

namespace {

int knownType(int type) {
  return type >= kBalloonInformation && type <= kBalloonError ? type : kBalloonNone;
}

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

}  // namespace

std::optional<BalloonNotice> BalloonAccumulator::submit(bool hasWindow,
                                                        std::optional<std::u16string_view> text,
                                                        int type) {
  std::lock_guard lock(mutex_);
  if (!hasWindow && !text) {
    text_.clear();
    type_ = kBalloonNone;
    return std::nullopt;
  }
  if (text) {
    if (!text_.empty()) text_ += kBalloonSeparator;
    text_ += *text;
    if (knownType(type) > type_) type_ = knownType(type);
  }
  if (!hasWindow || text_.empty()) return std::nullopt;
  return BalloonNotice{cutUtf16(text_, kBalloonTextLimit), type_};
}

void BalloonAccumulator::clear() {
  std::lock_guard lock(mutex_);
  text_.clear();
  type_ = kBalloonNone;
}

BalloonNotice BalloonAccumulator::pending() const {
  std::lock_guard lock(mutex_);
  return {text_, type_};
}

std::u16string cutUtf16(std::u16string_view text, std::size_t limit) {
  if (text.size() <= limit) return std::u16string(text);
  std::size_t length = limit;
  if (length > 0 && isHighSurrogate(text[length - 1])) --length;
  return std::u16string(text.substr(0, length));
}

}  // namespace kivora::monitor
