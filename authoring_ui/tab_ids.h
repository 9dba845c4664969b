#pragma once
// Templates and control ids of the main window's pages. The numbers are the tool's own and stay
// as they are; ids are unique within a page only (1032 is a list on one page, a path on
// another). Plain #defines: windres and C++ both include this file.
// Kinds: IDD_ page, IDE_ edit, IDL_ drop-down list, IDX_ check box, IDO_ radio (option) button,
// IDBT_ picture button, IDT_ static text, IDF_ frame.

#define IDD_WALLPAPER_TAB 103
#define IDD_PREVIEW_WINDOW_TAB 107
#define IDD_SETTINGS_WINDOW_TAB 108
#define IDD_INSTALLER_TAB 109

// Wallpaper page
#define IDE_WALLPAPER_NAME 1052
#define IDE_MOVIE_FILE 1020
#define IDBT_MOVIE_BROWSE 1044
#define IDE_RESOURCE_FILES 1021
#define IDBT_RESOURCE_BROWSE 1047
#define IDF_COLOUR_SWATCH 1077
#define IDBT_COLOUR 1076
#define IDX_LOOP 1022
#define IDL_QUALITY 1027
#define IDL_MOVIE_SIZE 1075
#define IDL_HORIZONTAL 1029
#define IDL_VERTICAL 1031
#define IDE_BACKGROUND_IMAGE 1023
#define IDBT_BACKGROUND_BROWSE 1045
#define IDE_STILL_IMAGE 1120
#define IDBT_STILL_BROWSE 1121
#define IDL_POSITION 1032
#define IDBT_PREVIEW 1067
#define IDBT_CANCEL_PREVIEW 1068

// Preview-window page
#define IDO_DEFAULT_PREVIEW_IMAGE 1092
#define IDO_OWN_PREVIEW_IMAGE 1093
#define IDT_PREVIEW_IMAGE_LABEL 1094
#define IDE_PREVIEW_IMAGE 1032
#define IDBT_PREVIEW_IMAGE_BROWSE 1003

// Settings-window page (never shown)
#define IDO_WALLPAPER_MOVIE 1030
#define IDO_SPECIFIC_MOVIE 1055
#define IDE_SETTINGS_PICTURE 1059
#define IDBT_SETTINGS_PICTURE_BROWSE 1060
#define IDE_WEB_TEXT 1061
#define IDE_WEB_ADDRESS 1062
#define IDE_EMAIL_TEXT 1063
#define IDE_EMAIL_ADDRESS 1064
#define IDE_OTHER_TEXT 1065

// Installer page
#define IDE_INSTALLER_PATH 1049
#define IDBT_INSTALLER_BROWSE 1006
#define IDBT_INSTALLER_FOLDER 1078
#define IDO_DEFAULT_INSTALLER_PICTURE 1043
#define IDO_OWN_INSTALLER_PICTURE 1034
#define IDE_INSTALLER_PICTURE 1036
#define IDBT_INSTALLER_PICTURE_BROWSE 1046
#define IDX_LICENCE 1008
#define IDE_LICENCE 1050
#define IDBT_LICENCE_BROWSE 1005
#define IDX_WITHOUT_PLUGIN 1009
#define IDT_PLUGIN_NOTE 1084
