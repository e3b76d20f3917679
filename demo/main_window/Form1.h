#pragma once

#include "forms/Platform.h"
#include "contract/DocumentObjects.h"
#include "contract/vekBrowser.h"
#include "source_viewer/Form2.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QLabel;
class QMenu;
class QPushButton;

// The main window: the page (vekBrowser1), the clipboard mirror (brClip), two buttons,
// three labels and the menus "CSS" and "Options", with their event procedures.
class Form1 : public QMainWindow, private contract::vekBrowserEvents {
public:
    // Creates the window with every control and menu in its design settings.
    Form1(contract::vekBrowserFactory& controls, forms::Platform& platform);
    ~Form1() override;

    // Runs Form_Load; false when it failed (the failure has been reported).
    bool load();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls(contract::vekBrowserFactory& controls);
    void createMenus();
    void fitOnScreen();

    // Start-up and shutdown
    void Form_Load();
    void Form_Unload();

    // Events of vekBrowser1, each run as an event procedure
    void LeftClick() override;
    void RightClick() override;
    void RestoreHighlight() override;
    void ClipboardCopy(int32_t& copiedAsHtml) override;
    void MenuItemClick(QString& key, contract::Variant& reserved1, int16_t& checkState,
                       contract::Variant& reserved2) override;

    // Click tracking and highlighting
    void vekBrowser1_LeftClick();
    void vekBrowser1_RightClick();
    void vekBrowser1_RestoreHighlight();
    void restoreLastElement();
    void trackClickedElement();
    void highlightClickedElement();

    // Page navigation and form answers
    void pageStateStep();
    void CollectAnswers();

    // The clipboard mirror and the custom entries of the control's menu
    void vekBrowser1_ClipboardCopy(const int32_t& copiedAsHtml);
    void vekBrowser1_MenuItemClick(QString& key, const int16_t& checkState);

    // Style, selection and text commands; the source viewer
    void mnuCSSGreen_Click();
    void mnuCSSWhite_Click();
    void mnuOptSelect_Click();
    void Command1_Click();
    void cmdViewCode_Click();

    forms::Platform& platform_;

    std::unique_ptr<contract::vekBrowser> vekBrowser1;
    std::unique_ptr<contract::vekBrowser> brClip;
    QPushButton* Command1 = nullptr;
    QPushButton* cmdViewCode = nullptr;
    QLabel* lblClipCaption = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;

    QMenu* mnuCSS = nullptr;
    QAction* mnuCSSGreen = nullptr;
    QAction* mnuCSSWhite = nullptr;
    QMenu* mnuOpt = nullptr;
    QAction* mnuOptSelect = nullptr;

    // The element of the last click in vekBrowser1 and its inline background colour before it.
    std::shared_ptr<contract::IHTMLElement> LastElement;
    QString LastElementColor;

    // The source window while it is loaded: from "View Code" until the user closes it.
    std::unique_ptr<Form2> loadedForm2;
};
