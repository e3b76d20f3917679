#pragma once

#include <QStringList>

// The program's command line. It takes no arguments of its own beyond --help and --version;
// Qt's own options (-platform, -style, ...) are taken out by the application object first.
namespace commandline {

// What the command line asks for before any window is made.
enum class Request { Run, Help, Version };

// Looks only for --help and --version, which answer without a display; anything else waits
// for checkRemaining(), once the application object has taken its own options out.
Request request(const QStringList& arguments);

// Prints the answer to a request for help or the version on standard output.
void answer(Request request);

// The arguments left once Qt has taken its own: an empty string when there are none, else a
// message that names the first one this program does not know.
QString checkRemaining(const QStringList& remaining);

// The status a bad command line ends the program with, as usual for a usage error.
constexpr int UsageError = 2;

}  // namespace commandline
