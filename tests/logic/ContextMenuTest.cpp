#include "logic/LoadedForm1.h"

#include <gmock/gmock.h>

namespace {

using contract::Variant;
using testing::_;
using testing::Return;
using testing::Throw;
using testing::Truly;

MATCHER_P(IsInteger, value, "") {
    return arg.type() == Variant::Type::Integer && arg.toText() == QString::number(value);
}

MATCHER(IsTrue, "") {
    return arg.type() == Variant::Type::Boolean && arg.toBool();
}

class ClipboardMirror : public LoadedForm1 {
protected:
    ClipboardMirror() {
        ON_CALL(mirror(), Document).WillByDefault(Return(Variant::fromObject(mirrorDocument)));
        ON_CALL(*mirrorDocument, body).WillByDefault(Return(Variant::fromObject(mirrorBody)));
        ON_CALL(page(), GetSelectionHTML).WillByDefault(Return(Variant::fromString(QStringLiteral("<li>two</li><li>items</li>"))));
    }
    std::shared_ptr<testing::NiceMock<MockDocument>> mirrorDocument = documentOf({});
    Element mirrorBody = element(QStringLiteral("BODY"));
};

TEST_F(ClipboardMirror, AnyNonZeroKindMirrorsTheSelectionMarkupWithoutReadingTheClipboard) {
    for (int32_t kind : {1, -1, 7}) {
        EXPECT_CALL(*mirrorBody, setInnerHTML(QStringLiteral("<li>two</li><li>items</li>")));
        EXPECT_CALL(mirror(), setBodyHTML(_)).Times(0);
        clipboardCopy(kind);
        EXPECT_EQ(label("lblClipCaption"), QStringLiteral("Clipboard Contents (HTML)"));
        testing::Mock::VerifyAndClearExpectations(mirrorBody.get());
    }
    EXPECT_EQ(platform.clipboardReads, 0);
}

TEST_F(ClipboardMirror, TextKindMirrorsTheClipboardTextAsMarkup) {
    platform.clipboard = QStringLiteral("a < b and <i>c</i>");
    EXPECT_CALL(mirror(), setBodyHTML(QStringLiteral("a < b and <i>c</i>")));
    clipboardCopy(0);
    EXPECT_EQ(label("lblClipCaption"), QStringLiteral("Clipboard Contents (Text)"));

    platform.clipboard.clear();  // a clipboard without text empties the mirror
    EXPECT_CALL(mirror(), setBodyHTML(QString()));
    clipboardCopy(1);
    clipboardCopy(0);
    EXPECT_EQ(label("lblClipCaption"), QStringLiteral("Clipboard Contents (Text)")) << "the second copy's caption";
}

TEST_F(ClipboardMirror, FailureBeforeTheCaptionLeavesMirrorAndCaptionAsTheyWere) {
    EXPECT_CALL(mirror(), Document)
        .WillOnce(Throw(controlFailure()))
        .WillRepeatedly(Return(Variant::fromObject(mirrorDocument)));
    clipboardCopy(1);
    EXPECT_TRUE(reported(440));
    EXPECT_EQ(label("lblClipCaption"), QStringLiteral("Clipboard Contents"));

    EXPECT_CALL(page(), GetSelectionHTML).WillOnce(Throw(controlFailure()));
    EXPECT_CALL(*mirrorBody, setInnerHTML(_)).Times(0);
    clipboardCopy(1);
    EXPECT_EQ(label("lblClipCaption"), QStringLiteral("Clipboard Contents"));

    EXPECT_CALL(mirror(), setBodyHTML(_)).WillOnce(Throw(controlFailure()));
    clipboardCopy(0);
    EXPECT_EQ(label("lblClipCaption"), QStringLiteral("Clipboard Contents"));
    EXPECT_EQ(platform.messages.size(), 3);
}

using CustomEntries = LoadedForm1;

TEST_F(CustomEntries, CheckStateIsComplementedBitwiseAndTheKeyPassedBackAsDelivered) {
    const std::pair<int16_t, int16_t> flips[] = {{-1, 0}, {0, -1}, {1, -2}, {-2, 1}};
    for (const auto& [reported, updated] : flips) {
        QString key = QStringLiteral("mnuCheck");
        EXPECT_CALL(page(), UpdateMenuItem(Truly([&key](QString& k) { return &k == &key; }), IsInteger(updated),
                                           IsTrue(), IsTrue()));
        menuItemClick(key, reported);
        testing::Mock::VerifyAndClearExpectations(&page());
    }
    QString separator = QStringLiteral("Sep1");  // every reported entry is treated alike
    EXPECT_CALL(page(), UpdateMenuItem(Truly([](QString& k) { return k == QLatin1String("Sep1"); }), IsInteger(-1), _, _));
    menuItemClick(separator, 0);
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(CustomEntries, RefusedUpdateIsReported) {
    EXPECT_CALL(page(), UpdateMenuItem(_, _, _, _)).WillOnce(Throw(controlFailure()));
    QString key = QStringLiteral("mnuCheck");
    menuItemClick(key, 0);
    EXPECT_TRUE(reported(440));
}

}  // namespace
