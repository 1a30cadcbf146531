// Command files come from many editors: most write UTF-8, older ones a
// one-byte Windows code page. The input pane holds UTF-8; these conversions
// let Import read either and Export write a file back as it came.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace vantrel {

// How the bytes of a text file are written. Files in UTF-16 and UTF-32 come
// from Windows tools ("Unicode" in Notepad and Excel) and XML writers.
enum class TextEncoding { Utf8, Windows1252, Utf16LE, Utf16BE, Utf32LE, Utf32BE };

// One character of UTF-8 text starting at text[i] and its length in bytes;
// nothing for a byte that starts no well-formed sequence (overlong forms,
// surrogates and values beyond U+10FFFF included).
std::optional<std::pair<char32_t, size_t>> DecodeUtf8(std::string_view text, size_t i);

// Appends one character (at most U+10FFFF) as UTF-8.
void AppendUtf8(std::string& text, char32_t c);

bool IsValidUtf8(std::string_view bytes);

// How a file's bytes are written: UTF-32 or UTF-16 by the byte-order mark,
// or without one by the NUL bytes around a first character below U+0100
// (as XML processors tell them: no text file starts with a NUL); UTF-8
// when every sequence is valid; Windows-1252 otherwise.
TextEncoding DetectEncoding(std::string_view bytes);

// UTF-16 or UTF-32, whose ASCII characters come with NUL bytes.
inline bool IsWideEncoding(TextEncoding e) { return e != TextEncoding::Utf8 && e != TextEncoding::Windows1252; }

// "UTF-16" or "UTF-32" for the wide encodings, as a message names them.
std::string_view WideEncodingName(TextEncoding encoding);

// The bytes as UTF-8 text, read in `encoding` (a wide byte-order mark is
// dropped; UTF-8 text is kept as it is). Nothing when UTF-16 or UTF-32
// text is broken: an unpaired surrogate, a value beyond U+10FFFF, or a
// last character cut short.
std::optional<std::string> DecodeText(std::string_view bytes, TextEncoding encoding);

// Every byte of Windows-1252 as UTF-8; the five bytes the code page leaves
// undefined become the control characters of the same number, so that the
// way back restores them.
std::string Windows1252ToUtf8(std::string_view bytes);

// The way back; nothing when the text holds a character the code page lacks.
std::optional<std::string> Utf8ToWindows1252(std::string_view text);

}  // namespace vantrel
