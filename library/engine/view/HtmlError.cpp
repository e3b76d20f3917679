#include <lumetto/HtmlError.h>

namespace lumetto::engine {

class HtmlErrorData : public QSharedData {
public:
    HtmlErrorData(HtmlError::Type type, const QString& description, const QString& call)
        : type(type), description(description), call(call) {}

    HtmlError::Type type;
    QString description;
    QString call;
};

}  // namespace lumetto::engine

QT_DEFINE_QSDP_SPECIALIZATION_DTOR(lumetto::engine::HtmlErrorData)

namespace lumetto {

HtmlError::HtmlError() noexcept = default;
HtmlError::HtmlError(Type type, const QString& description, const QString& call)
    : d(new engine::HtmlErrorData(type, description, call)) {}
HtmlError::~HtmlError() = default;
HtmlError::HtmlError(const HtmlError& other) = default;
HtmlError& HtmlError::operator=(const HtmlError& other) = default;

bool HtmlError::isValid() const {
    return type() != NoError;
}

HtmlError::Type HtmlError::type() const {
    return d ? d->type : NoError;
}

QString HtmlError::description() const {
    return d ? d->description : QString();
}

QString HtmlError::call() const {
    return d ? d->call : QString();
}

}  // namespace lumetto
