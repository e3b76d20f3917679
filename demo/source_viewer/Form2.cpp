#include "source_viewer/Form2.h"

#include "forms/ControlGeometry.h"
#include "forms/Twips.h"
#include "contract/RuntimeError.h"

#include <QPlainTextEdit>

namespace {

// Client area of the window, in twips.
constexpr int ClientWidth = 4680;
constexpr int ClientHeight = 3195;

template <typename Statement>
void skippingFailure(Statement statement) {
    try {
        statement();
    } catch (const contract::RuntimeError&) {
    }
}

}  // namespace

Form2::Form2(QWidget* owner) : QDialog(owner), Text1(new QPlainTextEdit(this)) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Form2"));
    resize(forms::twipsToPixels(ClientWidth), forms::twipsToPixels(ClientHeight));

    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("HTML source"));
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setGeometry(forms::twipsRect(45, 60, 4590, 3060));
}

void Form2::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Form_Resize();
}

// Fits Text1 to the window's outer size, statement by statement: a setting that Text1
// refuses, such as a negative size of a very small window, keeps its previous value.
void Form2::Form_Resize() {
    skippingFailure([this] { forms::setTop(*Text1, 10); });
    skippingFailure([this] { forms::setLeft(*Text1, 10); });
    skippingFailure([this] { forms::setWidth(*Text1, forms::outerWidth(*this) - 150.0f); });
    skippingFailure([this] { forms::setHeight(*Text1, forms::outerHeight(*this) - 450.0f); });
}
