#pragma once
// The display-setting vocabulary, the colour's text form and the resource list form. The same
// words travel through the project file, "instcfg.ini" and the wallpaper page.
#include <cstdint>
#include <string>
#include <vector>

namespace zarvane {

using Colour = std::uint32_t;  // red in bits 0-7, green 8-15, blue 16-23

// Six lower-case hex digits, red first: 0x01B00A -> "0ab001".
std::string ColourToText(Colour colour);
// Six characters, pairs read as strtol does (stops at a non-hex digit); any other length gives 0.
Colour ColourFromText(const std::string& text);

// Appends the items of a ";"-separated list to `items` (an empty or blank text empties it).
void SplitFileList(const std::string& text, std::vector<std::string>& items);

// First letters of the horizontal and vertical alignment words: "Left","Top" -> "LT".
std::string SalignOf(const std::string& hAlign, const std::string& vAlign);

// The lists in the order the authoring tool offers them.
extern const std::vector<std::string> kQualityWords;          // Low High AutoLow AutoHigh Best
extern const std::vector<std::string> kScaleWords;            // showall Exactfit noscale
extern const std::vector<std::string> kHorizontalWords;       // Center Right Left
extern const std::vector<std::string> kVerticalWords;         // Center Top Bottom
extern const std::vector<std::string> kBackgroundPositions;   // with the separator entry
extern const char kPositionSeparator[];                       // "-------------------"

}  // namespace zarvane
