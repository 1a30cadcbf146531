#include "exchange/xml.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <utility>

#include "command/code_page.h"

namespace vantrel {
namespace {

// Deeper documents are refused rather than read by deeper recursion.
constexpr int kMaxDepth = 200;

std::string_view LocalName(std::string_view name) {
  size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

bool IsNameCharacter(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.' || c == ':' ||
         static_cast<unsigned char>(c) >= 0x80;
}

// The characters an XML 1.0 document may hold, as text or as a character
// reference: no control character but tab, line feed and carriage return,
// no surrogate, not U+FFFE or U+FFFF.
bool IsXmlCharacter(char32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
         (c >= 0x10000 && c <= 0x10FFFF);
}

std::string CodePoint(char32_t c) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
  return text;
}

class XmlParser {
 public:
  explicit XmlParser(std::string_view text) : text_(text) {}

  std::unique_ptr<XmlElement> Document(std::string& error) {
    std::unique_ptr<XmlElement> root;
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
    CheckCharacters();
    while (Ok()) {
      SkipBlanks();
      if (pos_ >= text_.size()) break;
      if (Skipped()) continue;
      if (!At("<") || root) {
        Fail(root ? "content after the root element" : "text before the root element");
        break;
      }
      root = Element(0);
    }
    if (Ok() && !root) Fail("no root element");
    if (!Ok()) {
      error = "line " + std::to_string(1 + std::count(text_.begin(), text_.begin() + failedAt_, '\n')) + ": " + error_;
      return nullptr;
    }
    return root;
  }

 private:
  bool Ok() const { return error_.empty(); }
  // A document holding a character XML cannot carry is not well-formed:
  // read as it is, the character would pass into a description and from
  // there into files other programs refuse.
  void CheckCharacters() {
    for (size_t i = pos_; i < text_.size();) {
      auto decoded = DecodeUtf8(text_, i);
      if (decoded && IsXmlCharacter(decoded->first)) {
        i += decoded->second;
        continue;
      }
      size_t reading = std::exchange(pos_, i);
      Fail(decoded ? "a character XML cannot carry (" + CodePoint(decoded->first) + ")" : "bytes that are not UTF-8");
      pos_ = reading;
      return;
    }
  }
  bool At(std::string_view s) const { return text_.substr(pos_, s.size()) == s; }
  void Fail(const std::string& why) {
    if (!Ok()) return;
    error_ = why;
    failedAt_ = std::min(pos_, text_.size());
  }
  void SkipBlanks() {
    while (pos_ < text_.size() && std::string_view(" \t\r\n").find(text_[pos_]) != std::string_view::npos) ++pos_;
  }
  // Moves past `end`; false (after a message) when the text ends first.
  bool SkipPast(std::string_view end, const char* what) {
    size_t found = text_.find(end, pos_);
    if (found == std::string_view::npos) {
      Fail(std::string("unclosed ") + what);
      return false;
    }
    pos_ = found + end.size();
    return true;
  }
  // Comments, processing instructions and the document type.
  bool Skipped() {
    if (At("<!--")) return SkipPast("-->", "comment") || true;
    if (At("<?")) return SkipPast("?>", "processing instruction") || true;
    if (At("<!DOCTYPE")) {
      // An internal subset in brackets may hold '>' of its own.
      size_t bracket = text_.find('[', pos_), close = text_.find('>', pos_);
      if (bracket != std::string_view::npos && bracket < close) {
        pos_ = bracket;
        if (!SkipPast("]", "document type")) return true;
      }
      return SkipPast(">", "document type") || true;
    }
    return false;
  }

  std::string Name() {
    size_t start = pos_;
    while (pos_ < text_.size() && IsNameCharacter(text_[pos_])) ++pos_;
    if (pos_ == start) Fail("a name was expected");
    return std::string(text_.substr(start, pos_ - start));
  }

  // Character data up to the next '<' (or the closing quote), entities
  // replaced.
  std::string Characters(char stop) {
    std::string out;
    while (Ok() && pos_ < text_.size() && text_[pos_] != stop) {
      if (stop != '<' && text_[pos_] == '<') {
        Fail("'<' in an attribute value");
        break;
      }
      if (text_[pos_] != '&') {
        out += text_[pos_++];
        continue;
      }
      size_t semicolon = text_.find(';', pos_);
      if (semicolon == std::string_view::npos || semicolon - pos_ > 12) {
        Fail("'&' that starts no entity");
        break;
      }
      std::string_view entity = text_.substr(pos_ + 1, semicolon - pos_ - 1);
      static const std::pair<std::string_view, char> kPredefined[] = {
          {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
      auto predefined = std::find_if(std::begin(kPredefined), std::end(kPredefined),
                                     [&](const auto& p) { return p.first == entity; });
      if (predefined != std::end(kPredefined)) {
        out += predefined->second;
      } else if (entity.size() > 1 && entity[0] == '#') {
        bool hex = entity[1] == 'x';
        std::string digits(entity.substr(hex ? 2 : 1));
        char* end = nullptr;
        unsigned long code = digits.empty() ? 0 : std::strtoul(digits.c_str(), &end, hex ? 16 : 10);
        if (digits.empty() || *end != '\0' || code > 0x10FFFF || !IsXmlCharacter(static_cast<char32_t>(code))) {
          Fail("unusable character reference &" + std::string(entity) + ";");
          break;
        }
        AppendUtf8(out, static_cast<char32_t>(code));
      } else {
        Fail("unknown entity &" + std::string(entity) + ";");
        break;
      }
      pos_ = semicolon + 1;
    }
    return out;
  }

  bool Attributes(XmlElement& element) {
    while (Ok()) {
      SkipBlanks();
      if (pos_ >= text_.size()) {
        Fail("unclosed start tag <" + element.name + ">");
        return false;
      }
      if (At("/>")) {
        pos_ += 2;
        return false;  // empty element
      }
      if (At(">")) {
        ++pos_;
        return true;
      }
      std::string name = Name();
      SkipBlanks();
      if (!Ok() || !At("=")) {
        Fail("attribute " + name + " without a value");
        return false;
      }
      ++pos_;
      SkipBlanks();
      char quote = pos_ < text_.size() ? text_[pos_] : '\0';
      if (quote != '"' && quote != '\'') {
        Fail("attribute " + name + " without quotes");
        return false;
      }
      ++pos_;
      std::string value = Characters(quote);
      if (Ok() && pos_ >= text_.size()) Fail("unclosed attribute value of " + name);
      if (!Ok()) return false;
      ++pos_;
      // Namespace declarations are not attributes of the document's data.
      if (name == "xmlns" || name.rfind("xmlns:", 0) == 0) continue;
      element.attributes[std::string(LocalName(name))] = value;
    }
    return false;
  }

  std::unique_ptr<XmlElement> Element(int depth) {
    if (depth > kMaxDepth) {
      Fail("elements nested deeper than " + std::to_string(kMaxDepth));
      return nullptr;
    }
    ++pos_;  // '<'
    auto element = std::make_unique<XmlElement>();
    std::string qualified = Name();
    element->name = std::string(LocalName(qualified));
    if (!Ok() || !Attributes(*element)) return element;
    while (Ok()) {
      if (pos_ >= text_.size()) {
        Fail("element <" + qualified + "> is not closed");
        break;
      }
      if (At("</")) {
        pos_ += 2;
        std::string closing = Name();
        SkipBlanks();
        if (Ok() && (closing != qualified || !At(">")))
          Fail("end tag </" + closing + "> does not close <" + qualified + ">");
        ++pos_;
        break;
      }
      if (At("<![CDATA[")) {
        size_t start = pos_ + 9;
        if (!SkipPast("]]>", "CDATA section")) break;
        element->text.append(text_.substr(start, pos_ - 3 - start));
        continue;
      }
      if (Skipped()) continue;
      if (At("<")) {
        element->children.push_back(Element(depth + 1));
        continue;
      }
      element->text += Characters('<');
    }
    return element;
  }

  std::string_view text_;
  size_t pos_ = 0;
  std::string error_;
  size_t failedAt_ = 0;
};

}  // namespace

const std::string* XmlElement::Attribute(const std::string& local) const {
  auto found = attributes.find(local);
  return found == attributes.end() ? nullptr : &found->second;
}

void XmlElement::Collect(const std::string& local, std::vector<const XmlElement*>& found) const {
  for (const auto& child : children) {
    if (child->name == local) found.push_back(child.get());
    child->Collect(local, found);
  }
}

std::unique_ptr<XmlElement> ParseXml(std::string_view text, std::string& error) {
  return XmlParser(text).Document(error);
}

std::string XmlEscape(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    auto decoded = DecodeUtf8(text, i);
    char32_t c = decoded ? decoded->first : 0;
    size_t length = decoded ? decoded->second : 1;
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      // Kept through a reader's normalisation of attribute values, and no
      // value breaks the writer's one element per line.
      case '\t': out += "&#x9;"; break;
      case '\n': out += "&#xA;"; break;
      case '\r': out += "&#xD;"; break;
      default:
        if (decoded && IsXmlCharacter(c)) out.append(text.substr(i, length));
        else out += '?';
    }
    i += length;
  }
  return out;
}

}  // namespace vantrel
