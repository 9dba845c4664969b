#pragma once
// Where authors reach us. Until the product has a web address of its own, the about box's links
// and the Help menu's web entries open the help page that says how to get support and report a
// fault: no address that leads nowhere reaches a user. Plain #defines, because the about box
// template shows the link texts as they stand; change them here only.

#define ZARVANE_SUPPORT_PAGE "support.htm"  // in the Help folder beside the program
#define ZARVANE_FAULT_LINK_TEXT "How to report a fault"
#define ZARVANE_SUPPORT_LINK_TEXT "How to get support"
