#include "tip_table.h"

namespace zarvane {

namespace {

const char kTips[] = "Tips";

const TipRow kTipRows[] = {
    {1020, kTips, "Specify a Flash movie to be used to create a wallpaper", kEditSetFocus},
    {1044, kTips, "Browse for the Flash movie  to be converted to a Wallpaper", kButtonSetFocus},
    {1052, kTips, "Specify a name that will uniquely identify the Wallpaper", kEditSetFocus},
    {1076, kTips, "Click to choose a different background color", kButtonSetFocus},
    {1021, kTips, "Specify supporting files which are used by the Flash movie", kEditSetFocus},
    {1047, kTips, "Click to select multiple supporting files from your Computer", kButtonSetFocus},
    {1022, kTips, "Check this option to allow the Flash movie to loop", kButtonSetFocus},
    {1027, kTips, "Specify appropriate movie quality", kComboSetFocus},
    {1075, kTips, "Specify the size of the flash movie", kComboSetFocus},
    {1067, kTips, "Click to preview the Wallpaper", kButtonSetFocus},
    {1029, kTips, "Specify the horziontal alignment of the flash movie", kComboSetFocus},
    {1031, kTips, "Specify the vertical alignment of the flash movie", kComboSetFocus},
    {1032, kTips, "Specify the positioning of the image.", kComboSetFocus},
    {1023, kTips, "Specify a backgound image for the wallpaper.", kEditSetFocus},
    {1045, kTips, "Browse image for wallpaper background.", kButtonSetFocus},
    {1068, kTips, "Cancel Preview....", kButtonSetFocus},
    {1092, kTips, "Use Zarvane bitmap file to be shown in 'Display Properties'", kButtonSetFocus},
    {1093, kTips, "Specify a  bitmap file to be shown in 'Display Properties'", kButtonSetFocus},
    {1032, kTips, "Specify a bitmap file. Eg. Company's logo", kEditSetFocus},
    {1003, kTips, "Specify a background image to the flash.", kButtonSetFocus},
    {1049, kTips,
     "This installer file will help you to install the Wallpaper. Eg. C:\\My Documents\\Setup.exe",
     kEditSetFocus},
    {1006, kTips, "Specify a file name and path for your wallpaper setup.", kButtonSetFocus},
    {1078, kTips, "Click to open Installer file folder in Windows Explorer", kButtonSetFocus},
    {1043, kTips, "Default pre-designed Flash movie which will be shown in Installer Window",
     kButtonSetFocus},
    {1034, kTips, "Specify a Flash movie or a bitmap file to be displayed in Installer Window",
     kButtonSetFocus},
    {1036, kTips, "Specify a Flash movie or a bitmap file to be displayed in Installer Window",
     kEditSetFocus},
    {1046, kTips, "Browse for the Flash movie or bitmap file", kButtonSetFocus},
    {1008, kTips, "Check this to specify a text file containing license information.",
     kButtonSetFocus},
    {1050, kTips,
     "Specify a text file containing the license information to be shown in Installer Window",
     kEditSetFocus},
    {1005, kTips, "Browse for the text file containing the license information", kButtonSetFocus},
    {1009, kTips, "Uncheck this option to build with Flash-plugin.", kButtonSetFocus},
    {0, nullptr, nullptr, 0},
};

}  // namespace

bool LookUpTip(const TipRow* rows, int controlId, int notifyCode, std::string& title,
               std::string& text) {
  bool found = false;
  for (const TipRow* row = rows; row->controlId != 0; ++row) {
    if (row->controlId != controlId || row->notifyCode != notifyCode) continue;
    title = row->title;
    text = row->tip;
    found = true;
  }
  return found;
}

bool LookUpTip(int controlId, int notifyCode, std::string& title, std::string& text) {
  return LookUpTip(kTipRows, controlId, notifyCode, title, text);
}

}  // namespace zarvane
