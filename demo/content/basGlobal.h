#pragma once

#include <QString>

#include <cstdint>

// The application's shared page state and the two pages that vekBrowser1 shows.
namespace basGlobal {

// 0 while the product page is shown, 1 while the form page is shown.
extern int32_t PageState;
extern QString ProductPageHTML;
extern QString FormsPageHTML;

// Fills ProductPageHTML and FormsPageHTML; called once, while Form1 loads.
void BuildPages();

}  // namespace basGlobal
