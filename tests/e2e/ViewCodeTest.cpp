#include "content/basGlobal.h"
#include "driving/RunningApp.h"
#include "driving/WhileModal.h"
#include "support/QtPrinters.h"

#include "driving/Wait.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

QPlainTextEdit* text1(QDialog& form2) {
    return form2.findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
}

// Where Form_Resize puts Text1: at 10, 10 twips, 150 twips narrower and 450 twips lower
// than the whole window.
QRect fitted(QDialog& form2) {
    const QSize outer = form2.frameGeometry().size();
    return QRect(1, 1, outer.width() - 10, outer.height() - 30);
}

TEST(ViewCode, Form2ShowsTheSourceOfThatMomentModallyAndItsTextFollowsTheWindow) {
    RunningApp app;
    const QString productSource = app.vekBrowser1().SourceHTML().toText();
    ASSERT_TRUE(productSource.contains(QStringLiteral("Tarvo Lumetto ActiveX Control")));

    WhileModal first([&](QDialog& form2) {
        EXPECT_EQ(form2.windowTitle(), QStringLiteral("Form2"));
        EXPECT_EQ(form2.parentWidget(), &app.form()) << "it comes up over Form1";
        EXPECT_EQ(text1(form2)->toPlainText(), productSource);
        EXPECT_EQ(text1(form2)->geometry(), fitted(form2));

        // Form1 takes no input meanwhile: a click on its button goes nowhere.
        auto* command1 = app.form().findChild<QPushButton*>(QStringLiteral("Command1"));
        QSignalSpy pressed(command1, &QPushButton::pressed);
        // The click is delivered before the call returns: had it reached the button, the button
        // would have been pressed, and its procedure would have shown a box.
        QTest::mouseClick(app.form().windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          command1->mapTo(&app.form(), command1->rect().center()));
        EXPECT_TRUE(pressed.isEmpty());
        EXPECT_TRUE(app.messages().isEmpty());

        // The text is a snapshot: a new page leaves it as it was.
        app.vekBrowser1().setBodyHTML(basGlobal::FormsPageHTML);
        EXPECT_EQ(text1(form2)->toPlainText(), productSource);

        for (const QSize size : {QSize(700, 500), QSize(250, 160)}) {
            form2.resize(size);
            EXPECT_TRUE(waitFor([&] { return text1(form2)->geometry() == fitted(form2); }))
                << "Text1 follows the window at " << size.width() << "x" << size.height();
        }
    });
    app.clickButton("cmdViewCode");
    ASSERT_TRUE(first.looked());
    EXPECT_EQ(app.form().findChild<QDialog*>(), nullptr) << "closing Form2 destroys it";

    WhileModal second([&](QDialog& form2) {
        EXPECT_TRUE(text1(form2)->toPlainText().contains(QStringLiteral("name=\"Question1\"")));
        EXPECT_EQ(text1(form2)->geometry(), fitted(form2)) << "a new window in its design size";
        EXPECT_EQ(form2.size(), QSize(312, 213));
    });
    app.clickButton("cmdViewCode");
    ASSERT_TRUE(second.looked());
    EXPECT_TRUE(app.messages().isEmpty()) << app.messages().join(QLatin1Char('\n')).toStdString();
}

}  // namespace
