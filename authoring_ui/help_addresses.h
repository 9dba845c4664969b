#pragma once
// Where authors reach us: the about box's links and the Help menu's web pages. Plain #defines,
// because the about box template shows the first two as they stand. Reserved example domains
// until the project has a site of its own; change them here only.

#define ZARVANE_SUPPORT_EMAIL "support@example.com"
#define ZARVANE_WEB_SITE "www.example.com"
// The two pages of the site that the Help menu opens, told apart by their id.
#define ZARVANE_SUPPORT_PAGE "http://www.example.com/zarvane/?id=1"
#define ZARVANE_PRODUCTS_PAGE "http://www.example.com/zarvane/?id=4"
