#pragma once

#include <lumetto/vekBrowser.h>

#include <functional>
#include <memory>

namespace lumetto {

// The HTML display control, shown by a real HTML engine. Its content never runs script and
// never navigates: it shows what its host gives it and reports the user's clicks.
class WebBrowserControl : public lumetto::vekBrowser {
public:
    WebBrowserControl(QWidget* parent, const lumetto::DesignSettings& settings);
    ~WebBrowserControl() override;

    QWidget* widget() override;
    void setEventSink(lumetto::vekBrowserEvents* sink) override;
    // Called when content that ended the page process is not restored (see RestoreWatch).
    void onContentDiscarded(std::function<void()> discarded);
    // Called with a failure that no call of the host can fail with: the display engine cannot
    // start, or a write carried to the page after its call had returned failed there.
    void onFailed(std::function<void(const lumetto::RuntimeError&)> failed);

    lumetto::Variant ClickedElement() override;
    lumetto::Variant AllowMouseSelect() override;
    void setAllowMouseSelect(const lumetto::Variant& allow) override;
    lumetto::Variant SourceHTML() override;
    void setBaseURL(const QString& base) override;
    void setCSSText(const QString& rules) override;
    void setCSSFromURL(const lumetto::Variant& fromUrl) override;
    void setBodyHTML(const QString& html) override;
    lumetto::Variant Document() override;
    void AddMenuItem(const QString& key, const QString& caption) override;
    void UpdateMenuItem(QString& key, const lumetto::Variant& checkState, const lumetto::Variant& enabled,
                        const lumetto::Variant& visible) override;
    lumetto::Variant GetSelectionHTML() override;

    // The design-time settings as the control holds them, for its Qt face.
    QString cssText() const;
    bool cssFromUrl() const;
    QString baseUrl() const;
    QString bodyHtml() const;
    bool clipboardMenuEnabled() const;
    void setClipboardMenuEnabled(bool enabled);
    bool respondsToEvents() const;
    void setRespondsToEvents(bool responds);

    // What a screen reader is to call the page's document.
    void setDocumentName(const QString& name);

private:
    class Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace lumetto
