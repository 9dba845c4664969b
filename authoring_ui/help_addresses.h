#pragma once
// Where authors reach us. Until the product has a web address of its own, the about box's links
// and the Help menu's two web entries open pages of the help, each entry its own: no address
// that leads nowhere reaches a user. Plain #defines, because the about box template shows the
// link texts as they stand; change them here only.

// In the Help folder beside the program.
#define ZARVANE_SUPPORT_PAGE "support.htm"
#define ZARVANE_PRODUCTS_PAGE "products.htm"
#define ZARVANE_FAULT_LINK_TEXT "How to report a fault"
#define ZARVANE_SUPPORT_LINK_TEXT "How to get support"
