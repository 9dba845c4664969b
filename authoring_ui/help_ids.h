#pragma once
// Resource ids of the about box and the preview warning. Plain #defines for windres and C++.

#define IDD_PREVIEW_WARNING 129
#define IDD_ABOUT 177

// About box: the two links keep their fixed numbers.
#define IDC_ABOUT_SUPPORT_EMAIL 1060
#define IDC_ABOUT_SITE 1061

// Preview warning.
#define IDC_PREVIEW_WARNING_FRAME 1201
#define IDT_PREVIEW_WARNING_TEXT 1202
#define IDX_PREVIEW_WARNING_NOT_AGAIN 1203
