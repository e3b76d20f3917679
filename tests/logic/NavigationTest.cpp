#include "logic/LoadedForm1.h"

#include <gmock/gmock.h>

namespace {

using contract::Variant;
using testing::_;
using testing::InSequence;
using testing::Return;
using testing::Throw;

Element link(const Variant& href) {
    auto a = element(QStringLiteral("A"));
    ON_CALL(*a, readMember(QStringLiteral("href"))).WillByDefault(Return(href));
    return a;
}

Element submitButton() {
    auto button = field(QStringLiteral("INPUT"), Variant::fromString(QStringLiteral("Submit")),
                        Variant::fromString(QStringLiteral("Submit")));
    ON_CALL(*button, id).WillByDefault(Return(QStringLiteral("SubmitButton")));
    return button;
}

Variant text(const char* s) {
    return Variant::fromString(QString::fromUtf8(s));
}

class Navigation : public LoadedForm1 {
protected:
    // Shows the form page as a left click on the "forms" link does.
    void openFormPage() {
        leftClick(link(text("Forms")));
        ASSERT_EQ(basGlobal::PageState, 1);
    }

    // Submits a form page whose document holds these elements; returns what brClip was given.
    QString submit(std::vector<Element> fields) {
        auto button = submitButton();
        fields.push_back(button);
        auto document = documentOf(fields);
        ON_CALL(page(), Document).WillByDefault(Return(Variant::fromObject(document)));
        QString shown;
        ON_CALL(mirror(), setBodyHTML).WillByDefault([&shown](const QString& html) { shown = html; });
        leftClick(button);
        return shown;
    }
};

TEST_F(Navigation, LinkEndingInFormsShowsTheQuestionnaireWithoutHighlight) {
    for (const Variant& target : {text("Forms"), text("file:///opt/lumetto/Forms"), text("MyForms")}) {
        basGlobal::PageState = 0;
        auto a = link(target);
        {
            InSequence order;
            EXPECT_CALL(page(), setBodyHTML(basGlobal::FormsPageHTML)).WillOnce([] {
                EXPECT_EQ(basGlobal::PageState, 0) << "the page state follows the content";
            });
        }
        leftClick(a);
        EXPECT_EQ(basGlobal::PageState, 1) << target.toText().toStdString();
        EXPECT_EQ(a->colour(), QString());
        EXPECT_EQ(label("Label1"), QStringLiteral("A"));
        EXPECT_EQ(label("Label2"), QStringLiteral("Last Click - LeftClick : "));
        testing::Mock::VerifyAndClearExpectations(&page());
    }
}

TEST_F(Navigation, OtherLinkTargetsChangeNothingAndAreNotHighlighted) {
    EXPECT_CALL(page(), setBodyHTML(_)).Times(0);
    for (const Variant& target : {text("forms"), text("Forms/"), text(""), text("orms"), Variant::null()}) {
        auto a = link(target);
        leftClick(a);
        EXPECT_EQ(basGlobal::PageState, 0);
        EXPECT_EQ(a->colour(), QString());
    }
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(Navigation, LinkWithoutHrefMemberFailsLeavingThePageAlone) {
    auto anchor = element(QStringLiteral("A"));  // offers no "href"
    leftClick(anchor);
    EXPECT_TRUE(reported(438));
    EXPECT_EQ(basGlobal::PageState, 0);
    EXPECT_EQ(label("Label2"), QStringLiteral("Last Click :"));
}

TEST_F(Navigation, RefusedFormPageKeepsTheProductPageState) {
    EXPECT_CALL(page(), setBodyHTML(basGlobal::FormsPageHTML)).WillOnce(Throw(controlFailure()));
    leftClick(link(text("Forms")));
    EXPECT_TRUE(reported(440));
    EXPECT_EQ(basGlobal::PageState, 0);
}

TEST_F(Navigation, SubmitCollectsTheAnswersInOrderAndBringsTheProductPageBack) {
    openFormPage();
    auto name = field(QStringLiteral("INPUT"), text("Question1"), text("Ada <b>Lovelace</b>"));
    auto choice = field(QStringLiteral("SELECT"), text("Question2"), text("No"));
    {
        InSequence order;  // per field: the name to test, the name again, then the value
        EXPECT_CALL(*name, getAttribute(QStringLiteral("Name"))).Times(2);
        EXPECT_CALL(*name, getAttribute(QStringLiteral("Value")));
        EXPECT_CALL(*choice, getAttribute(QStringLiteral("Name"))).Times(2);
        EXPECT_CALL(*choice, getAttribute(QStringLiteral("Value")));
        EXPECT_CALL(mirror(), setBodyHTML(_));
        EXPECT_CALL(page(), setBodyHTML(basGlobal::ProductPageHTML));
    }
    const QString shown = submit({element(QStringLiteral("FORM")), name, choice});
    EXPECT_EQ(shown, QStringLiteral("Thankyou for filling in the form<BR><BR>Question1 : Ada <b>Lovelace</b><BR>"
                                    "Question2 : No<BR>"));
    EXPECT_EQ(label("lblClipCaption"), QStringLiteral("Answers"));
    EXPECT_EQ(label("Label1"), QStringLiteral("INPUT"));
    EXPECT_EQ(label("Label2"), QStringLiteral("Last Click - LeftClick : "));
    EXPECT_EQ(basGlobal::PageState, 0);
}

TEST_F(Navigation, AnswersTakeEveryNameContainingQuestionExactlyAndDropNulls) {
    openFormPage();
    const QString shown = submit({
        field(QStringLiteral("INPUT"), text("Question"), text("a")),
        field(QStringLiteral("INPUT"), text("question1"), text("lower case: skipped")),
        field(QStringLiteral("INPUT"), Variant::null(), text("no name: skipped")),
        field(QStringLiteral("INPUT"), text("MyQuestion"), Variant::null()),
        field(QStringLiteral("INPUT"), text("Question10"), Variant::fromLong(7)),
        field(QStringLiteral("INPUT"), text("Question10"), text("twice")),
    });
    EXPECT_EQ(shown, QStringLiteral("Thankyou for filling in the form<BR><BR>Question : a<BR>MyQuestion : <BR>"
                                    "Question10 : 7<BR>Question10 : twice<BR>"));
}

TEST_F(Navigation, FormWithoutQuestionsGivesTheThankYouLineAlone) {
    openFormPage();
    EXPECT_EQ(submit({}), QStringLiteral("Thankyou for filling in the form<BR><BR>"));
}

TEST_F(Navigation, OtherClicksOnTheFormPageChangeNoState) {
    openFormPage();
    EXPECT_CALL(page(), setBodyHTML(_)).Times(0);
    EXPECT_CALL(page(), Document).Times(0);
    leftClick(field(QStringLiteral("INPUT"), text("Question1"), text("")));
    rightClick(submitButton());
    EXPECT_EQ(basGlobal::PageState, 1);
}

TEST_F(Navigation, FailingCollectionLeavesTheFormPageAndTheMirrorAsTheyWere) {
    openFormPage();
    EXPECT_CALL(page(), Document).WillOnce(Throw(controlFailure()));
    EXPECT_CALL(mirror(), setBodyHTML(_)).Times(0);
    leftClick(submitButton());
    EXPECT_TRUE(reported(440));
    EXPECT_EQ(basGlobal::PageState, 1);
    EXPECT_EQ(label("lblClipCaption"), QStringLiteral("Clipboard Contents"));
    testing::Mock::VerifyAndClearExpectations(&page());

    auto broken = field(QStringLiteral("INPUT"), text("Question1"), text("x"));
    EXPECT_CALL(*broken, getAttribute(QStringLiteral("Name"))).Times(testing::AnyNumber());
    EXPECT_CALL(*broken, getAttribute(QStringLiteral("Value"))).WillOnce(Throw(controlFailure()));
    submit({broken});
    EXPECT_EQ(basGlobal::PageState, 1);
    EXPECT_EQ(label("lblClipCaption"), QStringLiteral("Clipboard Contents"));
}

TEST_F(Navigation, RefusedMirrorLeavesTheCaptionSetAndTheFormPageShown) {
    openFormPage();
    EXPECT_CALL(mirror(), setBodyHTML(_)).WillOnce(Throw(controlFailure()));
    EXPECT_CALL(page(), setBodyHTML(_)).Times(0);
    submit({});
    EXPECT_EQ(label("lblClipCaption"), QStringLiteral("Answers"));
    EXPECT_EQ(basGlobal::PageState, 1);
}

TEST_F(Navigation, RefusedProductPageKeepsTheAnswersAndTheFormState) {
    openFormPage();
    EXPECT_CALL(page(), setBodyHTML(basGlobal::ProductPageHTML)).WillOnce(Throw(controlFailure()));
    EXPECT_EQ(submit({}), QStringLiteral("Thankyou for filling in the form<BR><BR>"));
    EXPECT_EQ(basGlobal::PageState, 1);
    EXPECT_EQ(label("Label2"), QStringLiteral("Last Click - LeftClick : ")) << "set by the link click before";
}

}  // namespace
