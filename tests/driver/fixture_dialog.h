#pragma once
// Control ids of the driver's practice dialog.
#define IDD_FIXTURE 100
#define IDE_NAME 1001
#define IDT_STATUS 1002
#define IDX_OPTION 1003
#define IDB_ASK 1004
#define IDB_NEVER 1005
