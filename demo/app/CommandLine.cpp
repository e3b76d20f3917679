#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace commandline {

namespace {

// The parser's description, options and help text; the application's name and version are
// set before it is made.
struct Parser {
    Parser() {
        // Qt's own options are words after one dash (-reverse, -stylesheet), never letters
        // run together that could be read as -v or -h.
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        parser.setApplicationDescription(QStringLiteral(
            "A demo of the Lumetto HTML display control: a product page and a questionnaire shown in\n"
            "the control, clicks reported and highlighted, answers and copies mirrored below the page.\n"
            "Qt's own options, such as -platform and -style, are accepted as well (see the manual page)."));
        parser.addOption(help);
        parser.addOption(version);
    }
    QCommandLineParser parser;
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Displays this help.")};
    QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Displays the version.")};
};

}  // namespace

Request request(const QStringList& arguments) {
    Parser parsing;
    // Unknown options are not an error yet: Qt's own have not been taken out.
    parsing.parser.parse(arguments);
    if (parsing.parser.isSet(parsing.help))
        return Request::Help;
    if (parsing.parser.isSet(parsing.version))
        return Request::Version;
    return Request::Run;
}

void answer(Request request) {
    Parser parsing;
    const QString text = request == Request::Help
                             ? parsing.parser.helpText()
                             : QCoreApplication::applicationName() + QLatin1Char(' ') +
                                   QCoreApplication::applicationVersion() + QLatin1Char('\n');
    std::fputs(qPrintable(text), stdout);
}

QString checkRemaining(const QStringList& remaining) {
    Parser parsing;
    if (!parsing.parser.parse(remaining))
        return parsing.parser.errorText();
    if (!parsing.parser.positionalArguments().isEmpty())
        return QStringLiteral("Unexpected argument '%1': the program takes none.")
            .arg(parsing.parser.positionalArguments().constFirst());
    return QString();
}

}  // namespace commandline
