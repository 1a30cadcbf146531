#include "command/code_page.h"

#include <array>
#include <cstdint>

namespace vantrel {
namespace {

// Unicode of the bytes 0x80..0x9F; the rest of the code page is Latin-1.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t Windows1252Character(unsigned char byte) {
  return byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : byte;
}

}  // namespace

void AppendUtf8(std::string& text, char32_t c) {
  if (c < 0x80) {
    text += static_cast<char>(c);
  } else if (c < 0x800) {
    text += static_cast<char>(0xC0 | (c >> 6));
    text += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    text += static_cast<char>(0xE0 | (c >> 12));
    text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    text += static_cast<char>(0xF0 | (c >> 18));
    text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::optional<std::pair<char32_t, size_t>> DecodeUtf8(std::string_view text, size_t i) {
  auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char lead = byte(i);
  if (lead < 0x80) return std::pair<char32_t, size_t>{lead, 1};
  size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || i + length > text.size()) return std::nullopt;
  char32_t c = lead & (0x7F >> length);
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return std::nullopt;
    c = (c << 6) | (byte(i + k) & 0x3F);
  }
  constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
  return std::pair<char32_t, size_t>{c, length};
}

bool IsValidUtf8(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size();) {
    auto decoded = DecodeUtf8(bytes, i);
    if (!decoded) return false;
    i += decoded->second;
  }
  return true;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size() + bytes.size() / 8);
  for (char b : bytes) AppendUtf8(text, Windows1252Character(static_cast<unsigned char>(b)));
  return text;
}

std::optional<std::string> Utf8ToWindows1252(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    auto decoded = DecodeUtf8(text, i);
    if (!decoded) return std::nullopt;
    char32_t c = decoded->first;
    i += decoded->second;
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      bytes += static_cast<char>(c);
      continue;
    }
    size_t k = 0;
    while (k < kHighControls.size() && kHighControls[k] != c) ++k;
    if (k == kHighControls.size()) return std::nullopt;
    bytes += static_cast<char>(0x80 + k);
  }
  return bytes;
}

}  // namespace vantrel

namespace vantrel {
namespace {

size_t UnitSize(TextEncoding e) { return e == TextEncoding::Utf32LE || e == TextEncoding::Utf32BE ? 4 : 2; }

bool LittleEndian(TextEncoding e) { return e == TextEncoding::Utf16LE || e == TextEncoding::Utf32LE; }

char32_t CodeUnit(std::string_view bytes, size_t at, size_t size, bool little) {
  char32_t unit = 0;
  for (size_t k = 0; k < size; ++k) {
    auto byte = static_cast<unsigned char>(bytes[at + (little ? size - 1 - k : k)]);
    unit = (unit << 8) | byte;
  }
  return unit;
}

}  // namespace

TextEncoding DetectEncoding(std::string_view bytes) {
  struct Signature {
    std::string_view start;
    TextEncoding encoding;
  };
  // Longer signatures first: a UTF-32LE mark begins as the UTF-16LE one.
  // "x" stands for any byte but NUL.
  static const Signature kSignatures[] = {
      {std::string_view("\xFF\xFE\0\0", 4), TextEncoding::Utf32LE},
      {std::string_view("\0\0\xFE\xFF", 4), TextEncoding::Utf32BE},
      {std::string_view("x\0\0\0", 4), TextEncoding::Utf32LE},
      {std::string_view("\0\0\0x", 4), TextEncoding::Utf32BE},
      {std::string_view("\xFF\xFE", 2), TextEncoding::Utf16LE},
      {std::string_view("\xFE\xFF", 2), TextEncoding::Utf16BE},
      {std::string_view("x\0", 2), TextEncoding::Utf16LE},
      {std::string_view("\0x", 2), TextEncoding::Utf16BE},
  };
  for (const Signature& signature : kSignatures) {
    std::string_view start = signature.start;
    if (bytes.size() < start.size()) continue;
    bool matches = true;
    for (size_t k = 0; k < start.size() && matches; ++k)
      matches = start[k] == 'x' ? bytes[k] != '\0' : bytes[k] == start[k];
    if (matches) return signature.encoding;
  }
  return IsValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Windows1252;
}

std::string_view WideEncodingName(TextEncoding encoding) {
  return UnitSize(encoding) == 4 ? "UTF-32" : "UTF-16";
}

std::optional<std::string> DecodeText(std::string_view bytes, TextEncoding encoding) {
  if (encoding == TextEncoding::Utf8) return std::string(bytes);
  if (encoding == TextEncoding::Windows1252) return Windows1252ToUtf8(bytes);
  size_t size = UnitSize(encoding);
  bool little = LittleEndian(encoding);
  if (bytes.size() % size != 0) return std::nullopt;
  std::string text;
  text.reserve(bytes.size() / size + bytes.size() / 8);
  for (size_t at = 0; at < bytes.size(); at += size) {
    char32_t c = CodeUnit(bytes, at, size, little);
    if (size == 2 && c >= 0xD800 && c <= 0xDBFF && at + 2 < bytes.size()) {
      char32_t low = CodeUnit(bytes, at + 2, 2, little);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        at += 2;
      }
    }
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    if (at == 0 && c == 0xFEFF) continue;  // the byte-order mark
    AppendUtf8(text, c);
  }
  return text;
}

}  // namespace vantrel
