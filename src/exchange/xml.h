// A small XML reader and writer for the exchange files: elements,
// attributes and text, with namespaces prefixes set aside (elements and
// attributes are known by their local names). Comments, processing
// instructions, the document type and CDATA sections are read; entities
// other than the five predefined ones and character references are not.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

struct XmlElement {
  std::string name;                           // local name, prefix removed
  std::map<std::string, std::string> attributes;  // by local name
  std::string text;                           // character data directly inside
  std::vector<std::unique_ptr<XmlElement>> children;

  const std::string* Attribute(const std::string& local) const;
  // Every element below this one (at any depth) with this local name, in
  // document order.
  void Collect(const std::string& local, std::vector<const XmlElement*>& found) const;
};

// The document's root element, or nothing with `error` saying what is wrong
// and on which line ("line 12: end tag </CgPoint> does not close <CgPoints>").
// The text is UTF-8; a character XML cannot carry, typed or referenced
// (&#xD800;, &#xFFFE;, a control character), makes it not well-formed.
std::unique_ptr<XmlElement> ParseXml(std::string_view text, std::string& error);

// Text with &, <, >, " and ' escaped for an attribute value or character
// data; tabs and line breaks as character references, and anything XML
// cannot carry (another control character, bytes that are not UTF-8) as
// "?", so that no value can end its element or make the file unreadable.
std::string XmlEscape(std::string_view text);

}  // namespace vantrel
