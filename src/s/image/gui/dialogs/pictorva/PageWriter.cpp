#include "s/image/gui/dialogs/pictorva/PageWriter.h"

#include <algorithm>

#include "s/image/gui/dialogs/pictorva/PageEscapes.h"
#include "s/image/gui/dialogs/pictorva/PageTemplates.h"
#include "s/str/Decimal.h"
#include "s/str/strbuffer/Surrogates.h"

namespace s::image::gui::dialogs::pictorva {

namespace {

using str::decimal;

using str::strbuffer::isHighSurrogate;
using str::strbuffer::isLowSurrogate;
constexpr const char16_t* kHexDigits = PageEscapes::kHexDigits;

void appendLine(std::u16string& out, int tabs, std::u16string_view text) {
  out.append(static_cast<size_t>(tabs), u'\t');
  out.append(text);
  out.append(u"\r\n");
}

bool isLineSeparator(char16_t unit) { return unit == 0x2028 || unit == 0x2029; }
bool isControl(char16_t unit) { return unit < 0x20 || unit == 0x7F; }

// Appends one unit of a display name in its script-string form.
void appendDisplayUnit(std::u16string& out, char16_t unit) {
  switch (unit) {
    case u'\'': out.append(u"\\'"); return;
    case u'\\': out.append(u"\\\\"); return;
    case u'"': out.append(u"&quot;"); return;
    case u'<': out.append(u"&lt;"); return;
    case u'>': out.append(u"&gt;"); return;
    default: break;
  }
  if (isControl(unit) || isLineSeparator(unit)) {
    out.append(u"\\u");
    for (int shift = 12; shift >= 0; shift -= 4) out.push_back(kHexDigits[(unit >> shift) & 0xF]);
    return;
  }
  out.push_back(unit);
}

void appendRowLine(std::u16string& out, const GalleryRow& row, bool tile, int64_t nameLimit) {
  std::u16string_view base, type;
  PageWriter::splitName(row.sourceName, &base, &type);
  std::u16string line = u"window.thumb.addImage('simg/";
  if (tile) {
    line += PageWriter::linkName(row.smallName);
    line += u"', ";
    line += decimal(row.smallWidth);
    line += u", ";
    line += decimal(row.smallHeight);
  } else {
    line += u"', 0, 0";
  }
  line += u", '";
  line += PageWriter::displayName(base, tile, nameLimit);
  line += u"', 'img/";
  line += PageWriter::linkName(row.imgName);
  line += u"', ";
  line += decimal(row.sourceWidth);
  line += u", ";
  line += decimal(row.sourceHeight);
  line += u", '";
  line += PageWriter::sizeText(row.sourceSize, tile ? u"k" : u"KB");
  line += u"', '";
  line += type;
  line += u"');";
  appendLine(out, 0, line);
}

// The template with its holes filled: fill(name, out) appends what hole {{name}}
// stands for. A hole alone on its line (the rows) takes its line end with it, so it
// may stand for no line at all or for lines of its own.
template <class Fill>
std::u16string fillTemplate(std::u16string_view page, size_t rowCount, Fill fill) {
  std::u16string out;
  out.reserve(page.size() + 256 + rowCount * 200);
  for (size_t at = 0; at < page.size();) {
    const size_t hole = page.find(u"{{", at);
    const size_t end = std::min(hole, page.size());
    for (size_t i = at; i < end; ++i) {
      if (page[i] == u'\n') out.push_back(u'\r');
      out.push_back(page[i]);
    }
    if (hole == std::u16string_view::npos) break;
    const size_t close = page.find(u"}}", hole);
    fill(page.substr(hole + 2, close - hole - 2), out);
    at = close + 2;
    const bool aloneOnLine = (hole == 0 || page[hole - 1] == u'\n') && at < page.size() && page[at] == u'\n';
    if (aloneOnLine) ++at;
  }
  return out;
}

}  // namespace

std::u16string PageWriter::linkName(std::u16string_view fileName) {
  std::u16string out;
  out.reserve(fileName.size() + 16);
  for (char16_t unit : fileName) {
    switch (unit) {
      case u'%': out.append(u"%25"); break;
      case u' ': out.append(u"%20"); break;
      case u'&': out.append(u"%26"); break;
      case u';': out.append(u"%3B"); break;
      case u'@': out.append(u"%40"); break;
      case u'\'': out.append(u"\\'"); break;
      // A '#' would end the path at a fragment; the others cannot occur in Windows
      // names but can on Linux, where they would break the attribute or the string.
      case u'#':
      case u'"':
      case u'<':
      case u'>':
      case u'\\':
      case u'?': PageEscapes::appendPercentUtf8(out, unit); break;
      default:
        if (isControl(unit) || isLineSeparator(unit)) {
          PageEscapes::appendPercentUtf8(out, unit);
        } else {
          out.push_back(unit);
        }
    }
  }
  return out;
}

void PageWriter::splitName(std::u16string_view fileName, std::u16string_view* base, std::u16string_view* type) {
  const size_t dot = fileName.rfind(u'.');
  if (dot == std::u16string_view::npos) {
    *base = {};
    *type = {};
    return;
  }
  *base = fileName.substr(0, dot);
  *type = fileName.substr(dot + 1);
}

std::u16string PageWriter::displayName(std::u16string_view base, bool shorten, int64_t limit) {
  // Walk the name as the classic rule sees it (an apostrophe already written as \',
  // i.e. two units of width 1), but keep whole what one source unit or one surrogate
  // pair became, so a cut never lands inside an escape or a pair.
  size_t keep = base.size();
  bool cut = false;
  if (shorten) {
    int64_t width = 0;
    for (size_t i = 0; i < base.size(); ++i) {
      const char16_t unit = base[i];
      const int units = unit == u'\'' ? 2 : 1;
      width += unit < 256 ? units : 2;
      if (width >= limit) {
        keep = i + 1;
        if (isHighSurrogate(unit) && keep < base.size() && isLowSurrogate(base[keep])) ++keep;
        cut = true;
        break;
      }
    }
  }
  std::u16string out;
  out.reserve(keep + 8);
  for (size_t i = 0; i < keep; ++i) appendDisplayUnit(out, base[i]);
  if (cut) out.append(u"...");
  return out;
}

std::u16string PageWriter::sizeText(uint64_t bytes, std::u16string_view unit) {
  // At most 2^54 + 1 kilobytes: an int64.
  std::u16string out = decimal(static_cast<int64_t>((bytes >> 10) + 1));
  out.append(unit);
  return out;
}

std::u16string PageWriter::buildTilePage(std::u16string_view title, const std::vector<GalleryRow>& rows,
                                         int32_t cellWidth) {
  // Integer division truncating toward zero, as C++ does.
  const int64_t nameLimit = cellWidth / 10;
  return fillTemplate(kTilePageTemplate, rows.size(), [&](std::u16string_view hole, std::u16string& out) {
    if (hole == u"title") {
      out += title;  // as the user typed it, unescaped
    } else if (hole == u"cellWidth") {
      out += decimal(static_cast<int64_t>(cellWidth) + 5);  // 64-bit: a huge cell width cannot overflow
    } else if (hole == u"rowCount") {
      out += decimal(static_cast<int64_t>(rows.size()));
    } else if (hole == u"rows") {
      for (const GalleryRow& row : rows) appendRowLine(out, row, true, nameLimit);
    }
  });
}

std::u16string PageWriter::buildFlatPage(std::u16string_view title, const std::vector<GalleryRow>& rows) {
  return fillTemplate(kFlatPageTemplate, rows.size(), [&](std::u16string_view hole, std::u16string& out) {
    if (hole == u"title") {
      out += title;
    } else if (hole == u"rowCount") {
      out += decimal(static_cast<int64_t>(rows.size()));
    } else if (hole == u"rows") {
      for (const GalleryRow& row : rows) appendRowLine(out, row, false, 0);
    }
  });
}

}  // namespace s::image::gui::dialogs::pictorva
