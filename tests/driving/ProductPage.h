#pragma once

#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>

class QImage;

// What the product page looks like on the screen, for the programs that drive and watch it.
namespace product_page {

// The size of Form1's page view at a scale factor of 1.
constexpr QSize ViewSize(549, 355);
// The dark blue of the logo at the page's top right.
inline const QColor LogoBlue(26, 74, 140);
// The colour of the clicked element's highlight, as the screen shows it and as the page's
// style reports it.
inline const QColor Highlight(0xf1, 0xf1, 0xf1);
inline const QString HighlightStyle = QStringLiteral("rgb(241, 241, 241)");

// The top-right corner of a view of that size, where the logo shows.
QRect logoCorner(const QSize& view);
// Whether an image of a view shows the logo's blue somewhere in region, given in the view's
// coordinates (the image may have more pixels than the view has points).
bool showsLogo(const QImage& image, const QRect& region);

}  // namespace product_page
