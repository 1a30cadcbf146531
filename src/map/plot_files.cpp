#include "map/plot_files.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "exchange/xml.h"
#include "notation/numbers.h"

namespace vantrel {
namespace {

constexpr double kTwipsPerPoint = 20;         // 1/72 inch
constexpr double kFileTwipsPerPixel = PlotPicture::kScreenTwipsPerPixel;  // 96 pixels per inch
constexpr double kAscent = 0.8;               // baseline below a text's top, in font sizes

using Kind = PlotPrimitive::Kind;

// Counterclockwise sweep of an arc from its start to its end, 0..2 pi.
double ArcSweep(const PlotPrimitive& arc) {
  double sweep = std::fmod(arc.endAngle - arc.startAngle, TWO_PI);
  return sweep < 0 ? sweep + TWO_PI : sweep;
}

double PenTwips(const PlotPicture& picture, const PlotPrimitive& p) { return p.penWidth * picture.TwipsPerPixel(); }

std::string Number(double value) {
  // to_chars, unlike printf, writes a decimal point in every locale.
  char buffer[352];
  std::string text(buffer, std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2).ptr);
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text == "-0" ? "0" : text;
}

// ---- SVG ------------------------------------------------------------------

std::string SvgColor(std::uint32_t color) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "#%06x", static_cast<unsigned>(color & 0xFFFFFF));
  return buffer;
}

std::string SvgElement(const PlotPicture& picture, const PlotPrimitive& p) {
  std::string color = SvgColor(p.color);
  std::string stroke = " stroke=\"" + color + "\" stroke-width=\"" + Number(PenTwips(picture, p)) + "\"/>\n";
  switch (p.kind) {
    case Kind::Dot:
      return "<circle cx=\"" + Number(p.x) + "\" cy=\"" + Number(p.y) + "\" r=\"" + Number(PenTwips(picture, p) / 2) +
             "\" fill=\"" + color + "\"/>\n";
    case Kind::Line:
      return "<line x1=\"" + Number(p.x) + "\" y1=\"" + Number(p.y) + "\" x2=\"" + Number(p.x2) + "\" y2=\"" +
             Number(p.y2) + "\"" + stroke;
    case Kind::Arc: {
      double sweep = ArcSweep(p);
      if (sweep == 0) return {};
      // Counterclockwise on the screen is the negative sweep of SVG's y-down axes.
      return "<path d=\"M " + Number(p.x + p.radius * std::cos(p.startAngle)) + " " +
             Number(p.y - p.radius * std::sin(p.startAngle)) + " A " + Number(p.radius) + " " + Number(p.radius) +
             " 0 " + (sweep > PI ? "1" : "0") + " 0 " + Number(p.x + p.radius * std::cos(p.endAngle)) + " " +
             Number(p.y - p.radius * std::sin(p.endAngle)) + "\"" + stroke;
    }
    case Kind::Text: {
      double size = p.fontPoints * kTwipsPerPoint;
      // SVG turns clockwise for a positive angle, about the text's corner.
      std::string turn = p.angle == 0 ? std::string()
                                      : " transform=\"rotate(" + Number(-p.angle) + " " + Number(p.x) + " " +
                                            Number(p.y) + ")\"";
      return "<text x=\"" + Number(p.x) + "\" y=\"" + Number(p.y + kAscent * size) + "\" font-size=\"" + Number(size) +
             "\" fill=\"" + color + "\"" + turn + ">" + XmlEscape(p.text) + "</text>\n";
    }
  }
  return {};
}

// ---- PNG ------------------------------------------------------------------

// Digits and blank in a 5 x 7 pixel font (rows top to bottom, bit 4 = left).
constexpr std::array<std::array<std::uint8_t, 7>, 10> kDigitGlyphs{{
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E},  // 0
    {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},  // 1
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F},  // 2
    {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},  // 3
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02},  // 4
    {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},  // 5
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E},  // 6
    {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},  // 7
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E},  // 8
    {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},  // 9
}};
constexpr int kGlyphAdvance = 6;
constexpr int kGlyphRows = 7;

class Raster {
 public:
  Raster(int width, int height)
      : width_(width), height_(height), rgb_(static_cast<size_t>(width) * static_cast<size_t>(height) * 3, 0xFF) {}

  void Pixel(int x, int y, std::uint32_t color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    size_t at = (static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)) * 3;
    rgb_[at] = static_cast<std::uint8_t>(color >> 16);
    rgb_[at + 1] = static_cast<std::uint8_t>(color >> 8);
    rgb_[at + 2] = static_cast<std::uint8_t>(color);
  }

  // A round spot of the pen's width centred on (x, y), in pixels. The pixel
  // under the centre is always painted, so a thin line that runs exactly
  // along a pixel border is not lost between pixel centres.
  void Spot(double x, double y, double width, std::uint32_t color) {
    double r = std::max(width, 1.0) / 2;
    if (x + r < 0 || y + r < 0 || x - r > width_ || y - r > height_) return;
    Pixel(static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)), color);
    for (int py = static_cast<int>(std::floor(y - r)); py <= static_cast<int>(std::ceil(y + r)); ++py)
      for (int px = static_cast<int>(std::floor(x - r)); px <= static_cast<int>(std::ceil(x + r)); ++px) {
        double dx = px + 0.5 - x, dy = py + 0.5 - y;
        if (dx * dx + dy * dy <= r * r) Pixel(px, py, color);
      }
  }

  void Stroke(double x1, double y1, double x2, double y2, double width, std::uint32_t color) {
    // Only the part of the line over the picture (and a pen width around
    // it) is walked, in half-pixel steps.
    double from = 0, to = 1;
    double dx = x2 - x1, dy = y2 - y1;
    auto clip = [&](double p, double q) {  // keeps the part where p * t <= q
      if (p == 0) return q >= 0;
      double t = q / p;
      if (p < 0) from = std::max(from, t);
      else to = std::min(to, t);
      return from <= to;
    };
    if (!clip(-dx, x1 + width) || !clip(dx, width_ + width - x1) || !clip(-dy, y1 + width) ||
        !clip(dy, height_ + width - y1))
      return;
    double length = std::hypot(dx, dy) * (to - from);
    int steps = static_cast<int>(length * 2) + 1;
    for (int i = 0; i <= steps; ++i) {
      double t = from + (to - from) * i / steps;
      Spot(x1 + dx * t, y1 + dy * t, width, color);
    }
  }

  void Digits(int x, int y, std::string_view text, std::uint32_t color) {
    for (char c : text) {
      if (c >= '0' && c <= '9') {
        const auto& glyph = kDigitGlyphs[static_cast<size_t>(c - '0')];
        for (int row = 0; row < kGlyphRows; ++row)
          for (int column = 0; column < 5; ++column)
            if (glyph[static_cast<size_t>(row)] & (0x10 >> column)) Pixel(x + column, y + row, color);
      }
      x += kGlyphAdvance;
    }
  }

  int Width() const { return width_; }
  int Height() const { return height_; }
  const std::vector<std::uint8_t>& Rgb() const { return rgb_; }

 private:
  int width_, height_;
  std::vector<std::uint8_t> rgb_;
};

void RasterPrimitive(Raster& raster, const PlotPicture& picture, const PlotPrimitive& p) {
  auto px = [](double twips) { return twips / kFileTwipsPerPixel; };
  double pen = PenTwips(picture, p) / kFileTwipsPerPixel;
  switch (p.kind) {
    case Kind::Dot:
      raster.Spot(px(p.x), px(p.y), pen, p.color);
      break;
    case Kind::Line:
      raster.Stroke(px(p.x), px(p.y), px(p.x2), px(p.y2), pen, p.color);
      break;
    case Kind::Arc: {
      double sweep = ArcSweep(p), r = px(p.radius);
      int steps = static_cast<int>(std::clamp(r * sweep * 2, 1.0, 1e6));
      for (int i = 0; i <= steps; ++i) {
        double a = p.startAngle + sweep * i / steps;
        raster.Spot(px(p.x) + r * std::cos(a), px(p.y) - r * std::sin(a), pen, p.color);
      }
      break;
    }
    case Kind::Text: {
      // Digits stand a little below the top of the text line, one after
      // the other along the text's direction.
      double turn = p.angle * PI / 180, below = p.fontPoints * kTwipsPerPoint * (kAscent - 0.55);
      double x = px(p.x + std::sin(turn) * below), y = px(p.y + std::cos(turn) * below);
      for (size_t k = 0; k < p.text.size(); ++k)
        raster.Digits(static_cast<int>(std::lround(x + k * kGlyphAdvance * std::cos(turn))),
                      static_cast<int>(std::lround(y - k * kGlyphAdvance * std::sin(turn))),
                      std::string_view(p.text).substr(k, 1), p.color);
      break;
    }
  }
}

std::uint32_t Crc32(std::string_view bytes) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  std::uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char b : bytes) crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

void PutBigEndian(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void PutChunk(std::string& png, std::string_view type, std::string_view data) {
  PutBigEndian(png, static_cast<std::uint32_t>(data.size()));
  std::string body(type);
  body += data;
  png += body;
  PutBigEndian(png, Crc32(body));
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::string StoredZlib(std::string_view data) {
  constexpr size_t kBlock = 65535;
  std::string z = "\x78\x01";
  size_t at = 0;
  do {
    size_t n = std::min(kBlock, data.size() - at);
    bool last = at + n == data.size();
    z += static_cast<char>(last ? 1 : 0);
    z += static_cast<char>(n & 0xFF);
    z += static_cast<char>(n >> 8);
    z += static_cast<char>(~n & 0xFF);
    z += static_cast<char>((~n >> 8) & 0xFF);
    z.append(data.substr(at, n));
    at += n;
  } while (at < data.size());
  std::uint32_t a = 1, b = 0;
  for (unsigned char c : data) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  PutBigEndian(z, (b << 16) | a);
  return z;
}

std::string PngFile(const Raster& raster) {
  std::string rows;
  size_t rowBytes = static_cast<size_t>(raster.Width()) * 3;
  rows.reserve((rowBytes + 1) * static_cast<size_t>(raster.Height()));
  for (int y = 0; y < raster.Height(); ++y) {
    rows += '\0';  // no filter
    rows.append(reinterpret_cast<const char*>(raster.Rgb().data()) + static_cast<size_t>(y) * rowBytes, rowBytes);
  }
  std::string header;
  PutBigEndian(header, static_cast<std::uint32_t>(raster.Width()));
  PutBigEndian(header, static_cast<std::uint32_t>(raster.Height()));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, no interlace
  std::string png = "\x89PNG\r\n\x1A\n";
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", StoredZlib(rows));
  PutChunk(png, "IEND", "");
  return png;
}

// ---- PDF ------------------------------------------------------------------

// A text for the page's WinAnsi font: Latin-1 letters and signs (the degree
// sign of a bearing) from their UTF-8 form as octal escapes, anything else
// beyond ASCII as "?".
std::string PdfEscaped(std::string_view text) {
  std::string escaped;
  for (size_t k = 0; k < text.size(); ++k) {
    auto byte = static_cast<unsigned char>(text[k]);
    if (byte < 0x80) {
      if (byte == '(' || byte == ')' || byte == '\\') escaped += '\\';
      escaped += text[k];
      continue;
    }
    unsigned code = 0;
    if ((byte == 0xC2 || byte == 0xC3) && k + 1 < text.size() && (static_cast<unsigned char>(text[k + 1]) & 0xC0) == 0x80)
      code = ((byte & 0x1Fu) << 6) | (static_cast<unsigned char>(text[++k]) & 0x3Fu);
    else
      while (k + 1 < text.size() && (static_cast<unsigned char>(text[k + 1]) & 0xC0) == 0x80) ++k;
    if (code < 0xA0) {
      escaped += '?';
      continue;
    }
    char octal[5] = {'\\', static_cast<char>('0' + (code >> 6)), static_cast<char>('0' + ((code >> 3) & 7)),
                     static_cast<char>('0' + (code & 7)), 0};
    escaped += octal;
  }
  return escaped;
}

// Drawing commands of one page; PDF's y axis grows upward from the paper's
// bottom edge, in points.
class PdfPage {
 public:
  PdfPage(double paperHeight, double margin) : paperHeight_(paperHeight), margin_(margin) {}

  std::string X(double twips) const { return Number(margin_ + twips / kTwipsPerPoint); }
  std::string Y(double twips) const { return Number(paperHeight_ - margin_ - twips / kTwipsPerPoint); }

  void Add(const PlotPicture& picture, const PlotPrimitive& p) {
    std::string rgb = Number(((p.color >> 16) & 0xFF) / 255.0) + " " + Number(((p.color >> 8) & 0xFF) / 255.0) +
                      " " + Number((p.color & 0xFF) / 255.0);
    double pen = PenTwips(picture, p);
    switch (p.kind) {
      case Kind::Dot:
        content_ += rgb + " rg\n";
        Circle(p.x, p.y, pen / 2, 0, TWO_PI);
        content_ += "f\n";
        break;
      case Kind::Line:
        content_ += rgb + " RG " + Number(pen / kTwipsPerPoint) + " w " + X(p.x) + " " + Y(p.y) + " m " + X(p.x2) +
                    " " + Y(p.y2) + " l S\n";
        break;
      case Kind::Arc:
        if (ArcSweep(p) == 0) break;
        content_ += rgb + " RG " + Number(pen / kTwipsPerPoint) + " w\n";
        Circle(p.x, p.y, p.radius, p.startAngle, ArcSweep(p));
        content_ += "S\n";
        break;
      case Kind::Text: {
        double size = p.fontPoints * kTwipsPerPoint;
        if (p.angle == 0) {
          content_ += "BT " + rgb + " rg /F1 " + Number(p.fontPoints) + " Tf " + X(p.x) + " " +
                      Y(p.y + kAscent * size) + " Td (" + PdfEscaped(p.text) + ") Tj ET\n";
          break;
        }
        // The baseline starts below the turned text's corner; PDF turns
        // counterclockwise with its y axis upward.
        double turn = p.angle * PI / 180, c = std::cos(turn), s = std::sin(turn);
        content_ += "BT " + rgb + " rg /F1 " + Number(p.fontPoints) + " Tf " + Number(c) + " " + Number(s) + " " +
                    Number(-s) + " " + Number(c) + " " + X(p.x + s * kAscent * size) + " " +
                    Y(p.y + c * kAscent * size) + " Tm (" + PdfEscaped(p.text) + ") Tj ET\n";
        break;
      }
    }
  }

  const std::string& Content() const { return content_; }

 private:
  // A circular path counterclockwise from `start` over `sweep`, in Bézier
  // pieces of at most a quarter turn.
  void Circle(double cx, double cy, double r, double start, double sweep) {
    int pieces = std::max(1, static_cast<int>(std::ceil(sweep / HALF_PI - 1e-9)));
    double step = sweep / pieces;
    double k = 4.0 / 3.0 * std::tan(step / 4);  // control length per radius
    auto at = [&](double a, double along) {
      // y-down drawing units: counterclockwise on paper is negative y.
      double x = cx + r * (std::cos(a) - along * std::sin(a));
      double y = cy - r * (std::sin(a) + along * std::cos(a));
      return X(x) + " " + Y(y);
    };
    content_ += at(start, 0) + " m\n";
    for (int i = 0; i < pieces; ++i) {
      double a0 = start + step * i, a1 = a0 + step;
      content_ += at(a0, k) + " " + at(a1, -k) + " " + at(a1, 0) + " c\n";
    }
  }

  double paperHeight_;
  double margin_;
  std::string content_;
};

}  // namespace

std::string PlotSvg(const PlotPicture& picture) {
  std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                    Number(picture.Width() / kFileTwipsPerPixel) + "\" height=\"" +
                    Number(picture.Height() / kFileTwipsPerPixel) + "\" viewBox=\"0 0 " +
                    std::to_string(picture.Width()) + " " + std::to_string(picture.Height()) + "\">\n" +
                    "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n"
                    "<g fill=\"none\" stroke-linecap=\"round\" font-family=\"sans-serif\" xml:space=\"preserve\">\n";
  for (const PlotPrimitive& p : picture.Primitives()) svg += SvgElement(picture, p);
  svg += "</g>\n</svg>\n";
  return svg;
}

std::string PlotPng(const PlotPicture& picture) {
  auto pixels = [](int twips) { return std::max(1, static_cast<int>(std::lround(twips / kFileTwipsPerPixel))); };
  Raster raster(pixels(picture.Width()), pixels(picture.Height()));
  for (const PlotPrimitive& p : picture.Primitives()) RasterPrimitive(raster, picture, p);
  return PngFile(raster);
}

std::string PlotPdf(const std::vector<PlotPicture>& pages) {
  // Objects: 1 catalog, 2 page tree, 3 font, then a page and its content
  // stream for every page.
  std::vector<std::string> objects(3);
  std::string kids;
  for (size_t i = 0; i < pages.size(); ++i) {
    const PlotPicture& picture = pages[i];
    double margin = PrinterPages::kPaperMargin / kTwipsPerPoint;
    double paperWidth = picture.Width() / kTwipsPerPoint + 2 * margin;
    double paperHeight = picture.Height() / kTwipsPerPoint + 2 * margin;
    PdfPage page(paperHeight, margin);
    for (const PlotPrimitive& p : picture.Primitives()) page.Add(picture, p);
    std::string pageNumber = std::to_string(4 + 2 * i), contentNumber = std::to_string(5 + 2 * i);
    kids += pageNumber + " 0 R ";
    objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + Number(paperWidth) + " " + Number(paperHeight) +
                      "] /Resources << /Font << /F1 3 0 R >> >> /Contents " + contentNumber + " 0 R >>");
    objects.push_back("<< /Length " + std::to_string(page.Content().size()) + " >>\nstream\n" + page.Content() +
                      "endstream");
  }
  objects[0] = "<< /Type /Catalog /Pages 2 0 R >>";
  objects[1] = "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages.size()) + " >>";
  objects[2] = "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>";

  std::string pdf = "%PDF-1.4\n";
  std::vector<size_t> offsets;
  for (size_t i = 0; i < objects.size(); ++i) {
    offsets.push_back(pdf.size());
    pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
  }
  size_t xref = pdf.size();
  pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
  for (size_t offset : offsets) {
    char entry[24];
    std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
    pdf += entry;
  }
  pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
         std::to_string(xref) + "\n%%EOF\n";
  return pdf;
}

}  // namespace vantrel
