#include "control/ControlHarness.h"
#include "contract/DocumentObjects.h"

#include "driving/PageGeometry.h"
#include "driving/Wait.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QStyleHints>
#include <QTest>
#include <QWebEngineView>

namespace {

using contract::IHTMLDocument2;
using contract::IHTMLSelectionObject;
using contract::IHTMLTxtRange;
using contract::Variant;

contract::Variant range(contract::HtmlViewControl& control) {
    return control.Document().as<IHTMLDocument2>()->selection().as<IHTMLSelectionObject>()->createRange();
}

QString selectedText(contract::HtmlViewControl& control) {
    return range(control).as<IHTMLTxtRange>()->text();
}

QPoint leftEdge(const QRect& box) { return QPoint(box.left() + 1, box.center().y()); }

class Selection : public testing::Test {
protected:
    void SetUp() override {
        h.control().setBodyHTML(QStringLiteral(
            "<p id='a'>first <b>bold</b> paragraph</p><p id='b'>second one</p>"
            "<p><input id='f' value='typed text'></p><p><img id='i' src='none.gif' width='40' height='40'></p>"));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(h.view()->window(), WaitBoundMs));
        a = boundingBox(h.view(), QStringLiteral("#a"));
        b = boundingBox(h.view(), QStringLiteral("#b"));
        field = boundingBox(h.view(), QStringLiteral("#f"));
        ASSERT_FALSE(a.isEmpty() || b.isEmpty() || field.isEmpty());
    }

    void doubleClick(const QPoint& at) {
        QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 100);
        QTest::mouseDClick(h.view()->focusProxy(), Qt::LeftButton, Qt::NoModifier, at);
    }

    ControlHarness h;
    QRect a, b, field;
};

TEST_F(Selection, MouseSelectsPlainTextAcrossElementsOnlyWhileAllowed) {
    dragAcross(h.view(), leftEdge(a), leftEdge(b) + QPoint(30, 0));
    // The page takes input apart from the calls that read it: a selection is waited for.
    ASSERT_TRUE(waitFor([&] { return !selectedText(h.control()).isEmpty(); })) << "the drag selected nothing";
    const QString text = selectedText(h.control());
    EXPECT_TRUE(text.startsWith(QStringLiteral("first bold paragraph\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\nse"))) << text.toStdString();

    h.control().setAllowMouseSelect(Variant::fromInteger(0));
    EXPECT_FALSE(h.control().AllowMouseSelect().toBool());
    EXPECT_EQ(selectedText(h.control()), QString()) << "switching selection off drops the selection";
    dragAcross(h.view(), leftEdge(a), leftEdge(b) + QPoint(30, 0));
    EXPECT_EQ(selectedText(h.control()), QString());
    doubleClick(leftEdge(b) + QPoint(4, 0));
    EXPECT_EQ(selectedText(h.control()), QString());

    h.control().setAllowMouseSelect(Variant::fromBool(true));
    EXPECT_EQ(h.control().AllowMouseSelect().type(), Variant::Type::Boolean);
    EXPECT_TRUE(h.control().AllowMouseSelect().toBool());
    doubleClick(leftEdge(b) + QPoint(4, 0));
    EXPECT_TRUE(waitFor([&] { return selectedText(h.control()) == QLatin1String("second"); }))
        << "the double click selected " << selectedText(h.control()).toStdString();
}

TEST_F(Selection, FieldTextIsSelectedOnlyWhileAllowedButAnImageAloneIsNoTextRange) {
    const QPoint fieldStart = leftEdge(field) + QPoint(2, 0);
    dragAcross(h.view(), fieldStart, fieldStart + QPoint(50, 0));
    EXPECT_TRUE(waitFor([&] { return selectedText(h.control()).startsWith(QStringLiteral("typed")); }))
        << "the drag in the field selected " << selectedText(h.control()).toStdString();

    const QRect image = boundingBox(h.view(), QStringLiteral("#i"));
    dragAcross(h.view(), QPoint(image.right() + 6, image.center().y()), QPoint(image.left() - 2, image.center().y()));
    int refusedWith = 0;
    EXPECT_TRUE(waitFor([&] {
        try {
            range(h.control()).as<IHTMLTxtRange>();
            return false;
        } catch (const contract::RuntimeError& e) {
            refusedWith = e.code();
            return true;
        }
    })) << "a selection of controls gave a text range";
    EXPECT_EQ(refusedWith, contract::ErrorCode::TypeMismatch);

    h.control().setAllowMouseSelect(Variant::fromBool(false));
    dragAcross(h.view(), fieldStart, fieldStart + QPoint(50, 0));
    EXPECT_EQ(selectedText(h.control()), QString());
}

}  // namespace
