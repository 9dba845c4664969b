#include "wallpaper_words.h"

#include <cstdlib>

#include "text.h"

namespace zarvane {

const std::vector<std::string> kQualityWords = {"Low", "High", "AutoLow", "AutoHigh", "Best"};
const std::vector<std::string> kScaleWords = {"showall", "Exactfit", "noscale"};
const std::vector<std::string> kHorizontalWords = {"Center", "Right", "Left"};
const std::vector<std::string> kVerticalWords = {"Center", "Top", "Bottom"};
const char kPositionSeparator[] = "-------------------";
const std::vector<std::string> kBackgroundPositions = {
    "Center",        "Tile",         "Stretch",     kPositionSeparator, "Top Left",
    "Top Center",    "Top Right",    "Center Left", "Center Right",     "Bottom Left",
    "Bottom Center", "Bottom Right"};

// Red, green, blue as two lower-case hex digits each.
std::string ColourToText(Colour colour) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  for (int shift = 0; shift < 24; shift += 8) {
    text += kDigits[(colour >> (shift + 4)) & 0xF];
    text += kDigits[(colour >> shift) & 0xF];
  }
  return text;
}

Colour ColourFromText(const std::string& text) {
  if (text.size() != 6) return 0;
  auto pair = [&](std::size_t at) { return std::strtol(text.substr(at, 2).c_str(), nullptr, 16); };
  return Colour(pair(0) + pair(2) * 256 + pair(4) * 65536);
}

void SplitFileList(const std::string& text, std::vector<std::string>& items) {
  std::string rest = Trim(text);
  if (rest.empty()) {
    items.clear();
    return;
  }
  for (auto at = rest.find(';'); at != std::string::npos; at = rest.find(';')) {
    items.push_back(Trim(rest.substr(0, at)));
    rest = rest.substr(at + 1);
  }
  rest = Trim(rest);
  if (!rest.empty()) items.push_back(rest);
}

std::string SalignOf(const std::string& hAlign, const std::string& vAlign) {
  if (hAlign.empty()) return std::string();
  std::string salign(1, hAlign[0]);
  if (!vAlign.empty()) salign += vAlign[0];
  return salign;
}

}  // namespace zarvane
