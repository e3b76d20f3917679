#include "logic/Fakes.h"
#include "main_window/Form1.h"

#include <gmock/gmock.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTest>

namespace {

// Twips to pixels at 96 DPI: 15 twips a pixel.
QRect twips(int left, int top, int width, int height) {
    return QRect(qRound(left / 15.0), qRound(top / 15.0), qRound(width / 15.0), qRound(height / 15.0));
}

class Form1Design : public testing::Test {
protected:
    template <typename T>
    T* control(const char* name) {
        auto* found = form.findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    FakeControls controls;
    FakePlatform platform;
    Form1 form{controls, platform};
};

TEST_F(Form1Design, EveryControlHasItsCaptionPositionAndSize) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Form1"));
    EXPECT_EQ(qobject_cast<QScrollArea*>(form.centralWidget())->widget()->size(), QSize(551, 544));

    struct Expected {
        const char* name;
        QString caption;
        QRect geometry;
    };
    const Expected labels[] = {
        {"lblClipCaption", QStringLiteral("Clipboard Contents"), twips(105, 5640, 2865, 300)},
        {"Label1", QStringLiteral("Label1"), twips(4920, 7710, 3210, 345)},
    };
    for (const auto& e : labels) {
        auto* label = control<QLabel>(e.name);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), e.caption) << e.name;
        EXPECT_EQ(label->geometry(), e.geometry) << e.name;
        EXPECT_EQ(label->focusPolicy(), Qt::NoFocus) << e.name;
    }
    // Label2 keeps its right edge, and reaches further left where its longest caption needs it.
    auto* label2 = control<QLabel>("Label2");
    const QRect design = twips(3045, 7710, 1815, 345);
    EXPECT_EQ(label2->text(), QStringLiteral("Last Click :"));
    EXPECT_EQ(label2->geometry().right(), design.right());
    EXPECT_EQ(label2->geometry().top(), design.top());
    EXPECT_LE(label2->geometry().left(), design.left());
    EXPECT_GE(label2->width(), label2->fontMetrics().horizontalAdvance(QStringLiteral("Last Click - RightClick : ")));

    const Expected buttons[] = {
        {"Command1", QStringLiteral("Current Text Selection"), twips(5895, 5415, 2340, 375)},
        {"cmdViewCode", QStringLiteral("View Code"), twips(90, 7680, 1440, 420)},
    };
    for (const auto& e : buttons) {
        auto* button = control<QPushButton>(e.name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), e.caption) << e.name;
        EXPECT_EQ(button->geometry(), e.geometry) << e.name;
    }
    EXPECT_EQ(controls.vekBrowser1().widget()->geometry(), twips(15, 60, 8235, 5325));
    EXPECT_EQ(controls.brClip().widget()->geometry(), twips(45, 5880, 8175, 1620));
}

TEST_F(Form1Design, ClipMirrorLiesOverTheBottomOfItsCaption) {
    auto* caption = control<QLabel>("lblClipCaption");
    QWidget* mirror = controls.brClip().widget();
    EXPECT_TRUE(caption->geometry().intersects(mirror->geometry()));
    const auto siblings = mirror->parentWidget()->children();
    EXPECT_GT(siblings.indexOf(mirror), siblings.indexOf(caption)) << "brClip is stacked above the caption";
}

TEST_F(Form1Design, KeyboardFocusMovesAmongTheControlsInTabOrder) {
    QWidget* order[] = {controls.vekBrowser1().widget(), control<QPushButton>("cmdViewCode"),
                        controls.brClip().widget(), control<QPushButton>("Command1")};
    // The widgets the Tab key visits, in the window's focus chain from vekBrowser1 on.
    QList<QWidget*> visited;
    QWidget* w = order[0];
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            visited << w;
        w = w->nextInFocusChain();
    } while (w != order[0] && visited.size() < 10);
    EXPECT_EQ(visited, QList<QWidget*>(std::begin(order), std::end(order)));
}

TEST_F(Form1Design, MenusHoldTheirItemsAndSelectionStartsAllowed) {
    const auto menus = form.menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("CSS"));
    EXPECT_EQ(menus[1]->text(), QStringLiteral("Options"));

    const auto css = menus[0]->menu()->actions();
    ASSERT_EQ(css.size(), 2);
    EXPECT_EQ(css[0]->text(), QStringLiteral("Set bg to Green"));
    EXPECT_EQ(css[1]->text(), QStringLiteral("Set bg to White"));

    const auto options = menus[1]->menu()->actions();
    ASSERT_EQ(options.size(), 1);
    EXPECT_EQ(options[0]->text(), QStringLiteral("Allow Selection"));
    EXPECT_TRUE(options[0]->isCheckable());
    EXPECT_TRUE(options[0]->isChecked());
}

TEST_F(Form1Design, ControlsAreCreatedWithTheirDesignSettings) {
    ASSERT_EQ(controls.settingsOf.size(), 2u);
    QStringList page;
    for (const auto& [key, value] : controls.settingsOf[0])
        page << key + QLatin1Char('=') + value.toText();
    EXPECT_EQ(page, (QStringList{
                        QStringLiteral("_extentx=14526"), QStringLiteral("_extenty=9393"), QStringLiteral("csshttp=False"),
                        QStringLiteral("csstext=BODY {margin:0;font-family:Verdana, Arial, Helvetica, sans-serif;overflow:hidden;}"),
                        QStringLiteral("respondtoevents=True"), QStringLiteral("allowmouseselect=True"),
                        QStringLiteral("showrightclickclipboardmenu=True")}));
    QStringList mirror;
    for (const auto& [key, value] : controls.settingsOf[1])
        mirror << key + QLatin1Char('=') + value.toText();
    EXPECT_EQ(mirror, (QStringList{QStringLiteral("_extentx=14420"), QStringLiteral("_extenty=2858"),
                                   QStringLiteral("csshttp=False")}));
    EXPECT_EQ(controls.vekBrowser1().sink() != nullptr, true) << "Form1 handles vekBrowser1's events";
    EXPECT_EQ(controls.brClip().sink(), nullptr) << "brClip raises nothing the application handles";
}

TEST_F(Form1Design, ClosingIsNeverRefused) {
    form.show();
    EXPECT_TRUE(form.close());
    EXPECT_TRUE(platform.messages.isEmpty());
}

// Also run on a screen of 640x480 pixels, smaller than the window.
TEST_F(Form1Design, WindowKeepsItsDesignedSizeAndOnASmallerScreenItsContentScrolls) {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const QRect screen = form.screen()->availableGeometry();
    auto* area = qobject_cast<QScrollArea*>(form.centralWidget());
    ASSERT_NE(area, nullptr) << "the window's content can scroll";
    EXPECT_TRUE(screen.contains(form.frameGeometry())) << "the whole window is on the screen";
    EXPECT_EQ(form.minimumSize(), form.maximumSize()) << "its size is fixed";
    if (screen.height() >= 600)
        EXPECT_EQ(area->viewport()->size(), QSize(551, 544)) << "the designed size, without scroll bars";

    auto* viewCode = control<QPushButton>("cmdViewCode");
    area->ensureWidgetVisible(viewCode);
    const QRect shown(viewCode->mapTo(area->viewport(), QPoint(0, 0)), viewCode->size());
    EXPECT_TRUE(area->viewport()->rect().contains(shown)) << "the lowest button can be scrolled into view";
}

}  // namespace
