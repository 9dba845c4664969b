#include "wallpaper_page.h"

#include "path_words.h"
#include "text.h"

namespace zarvane {
namespace {

const char kControlDownload[] = "http://download.macromedia.com/flash5/cabs/swflash.cab#version=5,0,0,0";

// The page names each copy by the wallpaper folder and the copy's bare name.
std::string RelativeCopy(const std::string& name, const std::string& source) {
  return name + "\\" + BareName(source);
}

// The page is written in text mode: every line feed reaches the file as CR LF.
std::string WithCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace

std::string WallpaperPageText(const WallpaperPageFields& f) {
  const std::string colour = ColourToText(f.backgroundColour);
  const std::string background = RelativeCopy(f.name, f.backgroundSource);
  const bool tile = EqualsIgnoreCase(f.backgroundPosition, "Tile");
  const bool stretch = EqualsIgnoreCase(f.backgroundPosition, "Stretch");

  std::string page;
  page += "<HTML>";
  page += "\n<body  bgcolor=\"#" + colour +
          "\" leftmargin=0 rightmargin=0 topmargin=0 bottommargin=0 marginwidth=0 marginheight=0>\n";
  page += "<div\n";
  page += "style=\"postion:absolute;\n";  // sic: the spelling every installed page carries
  page += "background-image:url(&quot;" + background + "&quot;);\n";
  page += "background-color: #" + colour + ";\n";
  page += std::string("background-repeat:") + (tile ? "repeat" : "no-repeat") + ";\n";
  page += "background-position: " + f.backgroundPosition + ";\n";
  page += "height:100%;\n";
  page += "width:100%;\n";
  page += "z-index:1;\">\n";
  if (stretch) {
    page += "<img src=\"" + background + "\" width=100% height=100% NAME=\"Bg\">\n";
    page += "<SCRIPT LANGUAGE=JavaScript1.2>\n";
    page += "<!---\n";
    page += "document.getElementById(\"Bg\").style.width = screen.width;\n";
    page += "document.getElementById(\"Bg\").style.height = screen.height;\n";
    page += "</SCRIPT>\n";
  }
  page += "</div>\n";
  page += "<div align=" + f.hAlign + " valign=" + f.vAlign +
          " style=\"position:absolute; width:100%; height:100%;z-index:2; left:0px; top:0px; "
          "border: 0px none\">\n";
  page += "<OBJECT CLASSID=\"clsid:D27CDB6E-AE6D-11cf-96B8-444553540000\" ";
  page += "\n\tWIDTH=\"100%\" HEIGHT=\"100%\" ";
  page += std::string("\n\tCODEBASE=\"") + kControlDownload + "\">";
  page += "\n\t<PARAM NAME=\"MOVIE\" VALUE=\"" + RelativeCopy(f.name, f.movieSource) + "\">";
  page += "\n\t<PARAM NAME=\"PLAY\" VALUE=\"true\">";
  page += "\n\t<PARAM NAME=\"QUALITY\" VALUE=\"" + f.quality + "\">";
  page += "\n\t<PARAM NAME=\"LOOP\" VALUE=\"" + f.loop + "\">";
  page += "\n\t<PARAM NAME=\"SCALE\" VALUE=\"" + f.scale + "\">";
  page += "\n\t<PARAM NAME=\"SALIGN\" VALUE=\"" + SalignOf(f.hAlign, f.vAlign) + "\">";
  page += "\n\t<PARAM NAME=\"WMODE\" VALUE=\"transparent\">";
  page += "\n\t<IMG SRC=\"" + RelativeCopy(f.name, f.imageSource) +
          "\" WIDTH=\"100%\" HEIGHT=\"100%\" BORDER=\"0\" ALIGN=\"STRETCH\"  ALT=\"\"/>";
  page += "\n</OBJECT>\n";
  page += "</div>\n";
  page += "\n</BODY>";
  page += "\n</HTML>";
  return WithCrLf(page);
}

}  // namespace zarvane
