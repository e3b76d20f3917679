#pragma once

#include <QString>
#include <QUrl>

#include <memory>

class QWebEngineView;

// A bare engine view, the floor the benchmarks measure the application against: a top-level
// view of the page view's size with the engine's defaults, showing a document made the way the
// display control makes its shell (the same style rules and text size) around the given body.
// A script, when given, runs as the page's own: the view runs page script, the control does not.
std::unique_ptr<QWebEngineView> makeBareView(const QString& body, const QString& script = {});

// The document a bare view shows, and the base location its relative names resolve against:
// the program's directory, which holds the pages' image. A view that has no setting for its
// default text size (Qt Quick's WebEngineView) is given the control's as a style rule.
enum class TextSize { FromSettings, FromRules };
QString bareDocument(const QString& body, const QString& script = {}, TextSize size = TextSize::FromSettings);
QUrl bareBaseUrl();
// The style rules Form1's design gives its page view, with which a bare view shows a body.
QString pageViewRules();
