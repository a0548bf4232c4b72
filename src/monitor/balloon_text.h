#pragma once
// The text that the tray balloon collects between shows. The user-interface
// thread and the script worker both report through it, so every operation
// takes its lock.

#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace kivora::monitor {

// Balloon icon types, lowest to highest.
enum BalloonType : int {
  kBalloonNone = 0,
  kBalloonInformation = 1,
  kBalloonWarning = 2,
  kBalloonError = 3,
};

inline constexpr std::u16string_view kBalloonSeparator = u"\r\n-----\r\n";
// What a balloon can hold, without its terminating zero.
inline constexpr std::size_t kBalloonTextLimit = 255;

struct BalloonNotice {
  std::u16string text;
  int type = kBalloonNone;
  bool operator==(const BalloonNotice&) const = default;
};

class BalloonAccumulator {
 public:
  // One balloon request, as a caller makes it:
  //  - no window and no text: forget what is pending; nothing is shown;
  //  - a text: append it (after the separator when something is pending) and
  //    raise the pending type to `type` if that is higher;
  //  - then, with a window and something pending: return what to show, the
  //    pending text cut to the balloon's limit with the pending type. The
  //    pending text stays until it is cleared.
  // A type outside 1 to 3 counts as none.
  std::optional<BalloonNotice> submit(bool hasWindow, std::optional<std::u16string_view> text,
                                      int type);

  void clear();
  BalloonNotice pending() const;

 private:
  mutable std::mutex mutex_;
  std::u16string text_;
  int type_ = kBalloonNone;
};

// `text` cut to at most `limit` UTF-16 units, never between the two halves
// of a surrogate pair.
std::u16string cutUtf16(std::u16string_view text, std::size_t limit);

}  // namespace kivora::monitor
