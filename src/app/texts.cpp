#include "app/texts.h"

namespace kivora::app {

std::wstring fillIn(std::wstring_view format, std::wstring_view value) {
  std::wstring text(format);
  const auto at = text.find(L"%s");
  if (at != std::wstring::npos) text.replace(at, 2, value);
  return text;
}

}  // namespace kivora::app
