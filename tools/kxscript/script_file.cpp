#include "kxscript/script_file.h"

#include "platform/unicode.h"

#include <cstdio>
#include <memory>

namespace kivora::kxscript {

namespace {

std::u16string decodeUtf16(const std::string& bytes, bool bigEndian) {
  std::u16string text;
  text.reserve(bytes.size() / 2);
  // A trailing odd byte is not a whole code unit and is dropped.
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    text.push_back(
        static_cast<char16_t>(bigEndian ? (first << 8 | second) : (second << 8 | first)));
  }
  return text;
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

std::optional<std::string> readAll(std::FILE* f) {
  std::string bytes;
  char chunk[65536];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) bytes.append(chunk, n);
  if (std::ferror(f)) return std::nullopt;
  return bytes;
}

}  // namespace

std::u16string decodeScriptBytes(const std::string& bytes) {
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE')
    return decodeUtf16(bytes, false);
  if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF')
    return decodeUtf16(bytes, true);
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
    return utf8ToUtf16(std::string_view(bytes).substr(3));
  return utf8ToUtf16(bytes);
}

std::optional<std::string> readScriptBytes(const std::string& path) {
  if (path == "-") return readAll(stdin);
#ifdef _WIN32
  // The path arrives as UTF-8; the wide CRT call opens any name.
  const std::u16string widePath = utf8ToUtf16(path);
  std::unique_ptr<std::FILE, FileCloser> file(
      _wfopen(reinterpret_cast<const wchar_t*>(widePath.c_str()), L"rb"));
#else
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
#endif
  if (!file) return std::nullopt;
  return readAll(file.get());
}

}  // namespace kivora::kxscript
