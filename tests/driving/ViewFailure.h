#pragma once

#include <lumetto/HtmlView.h>

#include <functional>

// The failure the view reports (HtmlView::errorOccurred) while write runs, as a property write
// reports its own; no error when it reports none.
lumetto::HtmlError failureOf(lumetto::HtmlView& view, const std::function<void()>& write);
