#pragma once
// Resource ids of the installer program. The numbers are fixed: other programs and the
// whole-program tests address the dialog's controls by them.

#define IDI_APP 128
#define IDB_INSTALLER_PICTURE 131
#define IDD_INSTALL 102

#define IDB_DECLINE 1002
#define IDB_INSTALL 1003
#define IDB_BROWSE 1005
#define IDE_INSTALL_PATH 1006
#define IDE_LICENCE 1007
#define IDC_PROGRESS 1008
#define IDC_PANE_FRAME 1009
#define IDT_STATUS 1010
#define IDC_MOVIE_PANE 3000
#define IDC_FLASH_CONTROL 9999

#define IDS_CLOSE 1
#define IDS_INSTALL 2
#define IDS_STATUS 3
#define IDS_COPYING_WALLPAPER 4
#define IDS_UPDATING_REGISTRY 5
#define IDS_COPYING_SYSTEM 6
#define IDS_BROWSE_TITLE 7
#define IDS_CREATE_FOLDER 8
#define IDS_CREATE_FOLDER_CAPTION 9
#define IDS_ERROR_CAPTION 10
#define IDS_PATH_EMPTY 11
#define IDS_INSTALL_FAILED 12
#define IDS_UNINSTALL_QUESTION 18
#define IDS_UNINSTALL_CAPTION 19
#define IDS_UNINSTALL_DONE 20
#define IDS_BAD_NAME 22
#define IDS_UNINSTALL_DAMAGED 23
#define IDS_EXTRACT_FAILED 24
#define IDS_REGISTER_FAILED 25
#define IDS_START_CAPTION 26
