#pragma once
// Resource and command ids of the main window. The numbers are fixed: the pages, the help
// commands and the whole-program tests address them. Plain #defines for windres and C++.

#define IDD_MAIN 106
#define IDR_ACCELERATORS 128
#define IDR_PROJECT_MENU 140
#define IDR_HELP_MENU 141

#define IDC_SHOW_PREVIEW_WINDOW 1035
#define IDC_SHOW_WALLPAPER 1037
#define IDC_SHOW_SETTINGS_WINDOW 1039  // a command without a button: that page is never shown
#define IDC_SHOW_INSTALLER 1041
#define IDC_PROJECT_BUTTON 1069
#define IDC_HELP_BUTTON 1070
#define IDC_BUILD_NOW 1071
#define IDC_BUILD_PROGRESS 1057
#define IDT_BUILD_STATUS 1058
#define IDC_TIP_PANEL 1033
#define IDC_TOP_BANNER 1100
#define IDC_BOTTOM_BANNER 1101

#define IDM_NEW 32771
#define IDM_OPEN 32772
#define IDM_SAVE 32773
#define IDM_SAVE_AS 32774
#define IDM_EXIT 32775
#define IDM_ABOUT 32776
#define IDM_SUPPORT_SITE 32779
#define IDM_MORE_PRODUCTS 32780
#define IDM_HELP_CONTENTS 32781
#define IDM_RECENT_FIRST 5000
