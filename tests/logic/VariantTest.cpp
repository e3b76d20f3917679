#include "contract/Variant.h"

#include <gtest/gtest.h>

namespace {

using contract::RuntimeError;
using contract::Variant;

int failureCode(const std::function<void()>& call) {
    try {
        call();
    } catch (const RuntimeError& e) {
        return e.code();
    }
    return 0;
}

TEST(Variant, TextConversionFailsOnNullButConcatenationDropsIt) {
    EXPECT_EQ(failureCode([] { Variant::null().toText(); }), 94);
    QString text = QStringLiteral("a");
    contract::appendText(text, Variant::null());
    EXPECT_EQ(text, QStringLiteral("a"));
    contract::appendText(text, Variant::fromLong(12));
    contract::appendText(text, Variant());
    EXPECT_EQ(text, QStringLiteral("a12"));
    EXPECT_EQ(Variant::fromBool(true).toText(), QStringLiteral("True"));
}

TEST(Variant, RightKeepsNullAndTakesShortTextWhole) {
    EXPECT_TRUE(contract::rightText(Variant::null(), 5).isNull());
    EXPECT_EQ(contract::rightText(Variant::fromString(QStringLiteral("file:///opt/Forms")), 5).toText(), QStringLiteral("Forms"));
    EXPECT_EQ(contract::rightText(Variant::fromString(QStringLiteral("orm")), 5).toText(), QStringLiteral("orm"));
}

TEST(Variant, BooleanFromNumbersIsNonZeroAndOtherValuesFail) {
    EXPECT_TRUE(Variant::fromInteger(-2).toBool());
    EXPECT_TRUE(Variant::fromLong(1).toBool());
    EXPECT_FALSE(Variant::fromInteger(0).toBool());
    EXPECT_TRUE(Variant::fromString(QStringLiteral("True")).toBool());
    EXPECT_FALSE(Variant::fromString(QStringLiteral("0")).toBool());
    EXPECT_EQ(failureCode([] { Variant::fromString(QStringLiteral("maybe")).toBool(); }), 13);
    EXPECT_EQ(failureCode([] { Variant::null().toBool(); }), 94);
}

TEST(Variant, ObjectsAreTakenAsTheirInterfaceOrFail) {
    struct Element : contract::HostObject {};
    struct Other : contract::HostObject {};
    const Variant element = Variant::fromObject(std::make_shared<Element>());
    EXPECT_NE(element.as<Element>(), nullptr);
    EXPECT_EQ(failureCode([&] { element.as<Other>(); }), 13);
    EXPECT_EQ(failureCode([] { Variant::fromObject(nullptr).as<Element>(); }), 91);
    EXPECT_EQ(failureCode([] { Variant::fromString(QStringLiteral("x")).as<Element>(); }), 13);
}

}  // namespace
