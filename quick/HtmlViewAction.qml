import QtQuick.Controls

// An entry of an HtmlView's menu, which the host may hide as well as retitle and disable.
Action {
    // Whether the menu shows the entry.
    property bool visible: true
}
