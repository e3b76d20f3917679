#include "driving/PageGeometry.h"
#include "driving/ProductPage.h"
#include "driving/RunningApp.h"
#include "driving/Wait.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWebEngineView>

namespace {

// Runs with the desktop's scale factor at 2: the same layout, drawn with twice the pixels.
TEST(Scale, DoubleScaleKeepsTheLayoutWithTwiceThePixels) {
    RunningApp app;
    ASSERT_TRUE(app.ready());
    ASSERT_EQ(app.form().devicePixelRatio(), 2.0) << "run with QT_SCALE_FACTOR=2";

    // Positions and sizes are the design's, in device-independent pixels: 15 twips a pixel.
    EXPECT_EQ(app.form().centralWidget()->size(), QSize(551, 544));
    EXPECT_EQ(QRect(app.pageView()->mapTo(app.form().centralWidget(), QPoint()), app.pageView()->size()), QRect(QPoint(1, 4), product_page::ViewSize));

    const QRect frame = app.form().frameGeometry();
    auto screen = [&] {
        return QGuiApplication::primaryScreen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()).toImage();
    };
    EXPECT_EQ(screen().size(), frame.size() * 2);

    // The logo, 32 by 32 in the page, covers 64 by 64 pixels on the screen.
    const QRect logo = boundingBox(app.pageView(), QStringLiteral("img"));
    ASSERT_EQ(logo.size(), QSize(32, 32));
    const QPoint inView = app.pageView()->mapTo(&app.form(), logo.topLeft()) + (app.form().geometry().topLeft() - frame.topLeft());
    int blue = 0;
    // The screen catches up with the window's frames a moment after the window has them.
    waitFor([&] {
        const QImage pixels = screen();
        blue = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                blue += pixels.pixelColor(inView * 2 + QPoint(x, y)) == product_page::LogoBlue;
        return blue > 3 * 520;
    });
    EXPECT_GT(blue, 3 * 520) << "the logo's dark blue (some 520 pixels at 1x), drawn at twice the size";
}

}  // namespace
