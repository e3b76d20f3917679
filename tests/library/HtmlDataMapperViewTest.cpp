#include <lumetto/HtmlDataMapper.h>
#include <lumetto/HtmlView.h>

#include <gtest/gtest.h>

#include <QPointer>
#include <QStandardItemModel>
#include <QTest>

#include <functional>
#include <memory>
#include <utility>

namespace {

const QString Template = QStringLiteral("<p data-column='Name'></p>");

// A model of one column, "Name", with a row for each name.
std::unique_ptr<QStandardItemModel> namesModel(const QStringList& names) {
    auto model = std::make_unique<QStandardItemModel>(0, 1);
    model->setHorizontalHeaderLabels({QStringLiteral("Name")});
    for (const QString& name : names)
        model->appendRow(new QStandardItem(name));
    return model;
}

// A shown view, its page loaded.
std::unique_ptr<lumetto::HtmlView> shownView() {
    auto view = std::make_unique<lumetto::HtmlView>();
    view->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    return view;
}

QString textOf(const lumetto::HtmlView& view) {
    return view.document().body().property(QStringLiteral("textContent")).toString();
}

bool shows(const lumetto::HtmlView& view, const QString& text) {
    return QTest::qWaitFor([&] { return textOf(view) == text; }, 10000);
}

// A mapper made without a view binds nothing, and says why.
TEST(HtmlDataMapper, WithoutAViewFailsAndSaysWhy) {
    auto model = namesModel({QStringLiteral("Ada")});
    lumetto::HtmlDataMapper mapper;
    EXPECT_EQ(mapper.view(), nullptr);
    using Call = std::function<void(lumetto::HtmlError*)>;
    for (const auto& [call, made] : {std::pair<const char*, Call>{"setModel", [&](lumetto::HtmlError* e) { mapper.setModel(model.get(), e); }},
                                     std::pair<const char*, Call>{"setTemplateHtml", [&](lumetto::HtmlError* e) { mapper.setTemplateHtml(Template, e); }}}) {
        lumetto::HtmlError error;
        made(&error);
        EXPECT_EQ(error.type(), lumetto::HtmlError::PageFailed) << call;
        EXPECT_TRUE(error.description().contains(QLatin1String("setView"))) << error.description().toStdString();
        EXPECT_EQ(error.call(), QStringLiteral("HtmlDataMapper::%1").arg(QLatin1String(call)));
    }
    EXPECT_EQ(mapper.model(), nullptr);
    EXPECT_TRUE(mapper.templateHtml().isEmpty());
}

// setView() moves the mapper: the view before keeps what it showed and no longer follows the
// model; the new view shows the template once it is bound there, and follows the model.
TEST(HtmlDataMapper, SetViewMovesTheBindingToTheNewView) {
    auto model = namesModel({QStringLiteral("Ada"), QStringLiteral("Bob")});
    auto first = shownView();
    auto second = shownView();
    lumetto::HtmlDataMapper mapper;
    mapper.setView(first.get());
    EXPECT_EQ(mapper.view(), first.get());
    lumetto::HtmlError error;
    mapper.setModel(model.get(), &error);
    mapper.setTemplateHtml(Template, &error);
    ASSERT_FALSE(error.isValid()) << error.description().toStdString();
    ASSERT_TRUE(shows(*first, QStringLiteral("Ada")));

    mapper.setView(second.get());
    EXPECT_EQ(mapper.view(), second.get());
    EXPECT_TRUE(mapper.templateHtml().isEmpty());
    EXPECT_EQ(mapper.model(), model.get());
    model->item(0)->setText(QStringLiteral("Ada Lovelace"));
    mapper.setTemplateHtml(Template, &error);
    ASSERT_FALSE(error.isValid()) << error.description().toStdString();
    EXPECT_TRUE(shows(*second, QStringLiteral("Ada Lovelace")));
    // The first page takes the host's writes in order: one the change sent would be there by now.
    EXPECT_EQ(textOf(*first), QStringLiteral("Ada"));
    mapper.toNext();
    EXPECT_TRUE(shows(*second, QStringLiteral("Bob")));
    EXPECT_EQ(textOf(*first), QStringLiteral("Ada"));
}

// Ownership follows QObject parents, whichever goes first: a mapper that outlives its view
// lets go of it, one that is the view's child goes with it, and a view outlives its mapper.
TEST(HtmlDataMapper, TheViewOrTheMapperMayGoFirst) {
    auto model = namesModel({QStringLiteral("Ada")});
    auto view = shownView();
    lumetto::HtmlDataMapper outliving;
    outliving.setView(view.get());
    outliving.setModel(model.get());
    outliving.setTemplateHtml(Template);
    QPointer<lumetto::HtmlDataMapper> child = new lumetto::HtmlDataMapper(view.get());
    child->setView(view.get());
    auto* other = new lumetto::HtmlDataMapper;
    other->setView(view.get());
    ASSERT_TRUE(shows(*view, QStringLiteral("Ada")));
    delete other;
    view->setBodyHtml(QStringLiteral("<p>still here</p>"));
    EXPECT_TRUE(shows(*view, QStringLiteral("still here")));

    view.reset();
    EXPECT_TRUE(child.isNull());
    EXPECT_EQ(outliving.view(), nullptr);
    EXPECT_TRUE(outliving.templateHtml().isEmpty());
    model->item(0)->setText(QStringLiteral("Bea"));  // followed by the mapper, shown nowhere
    model->appendRow(new QStandardItem(QStringLiteral("Cy")));
    outliving.toLast();
    EXPECT_EQ(outliving.currentIndex(), 1);
    lumetto::HtmlError error;
    outliving.setTemplateHtml(Template, &error);
    EXPECT_EQ(error.type(), lumetto::HtmlError::PageFailed);
}

}  // namespace
