#pragma once

#include <QObject>

#include <functional>


namespace lumetto::engine {

class EngineView;
class PageCalls;

// When a control's shell starts loading. Once the host has had its first say, so that a base
// location set right after the control was made decides the shell's policy without a second
// load: as the control begins to show, when a call needs the page, or when the event loop
// runs, whichever comes first; a control with nothing to show yet waits its turn (StartOrder).
// Until the shell starts, the view shows what an empty page shows. While it waits, its page is
// not told that the view shows or hides: a page told it is shown is made in the engine at
// once, to be painted, and would compete with the controls drawing their content. It is told
// as its turn comes.
class ShellStart : public QObject {
public:
    ShellStart(EngineView& view, PageCalls& calls, std::function<bool()> hasContent, std::function<void()> load);
    ~ShellStart() override;

    // Before the control is first shown and while its shell loads, what the host writes is
    // kept and reaches the page with the shell: nobody can see the page yet, so a host that
    // sets the control up before showing its window waits for nothing. Once shown, a write
    // returns when the page shows it.
    bool keepsWrites() const;
    // The shell has loaded: true when the page is to report its content drawn, which lets
    // the controls waiting their turn start.
    bool loaded(bool ok);
    // The page reported its content drawn.
    void drawn();
    // The page process ended: the shell loads again, at once or, alone, once no other control
    // is drawing its content. Content restored is drawn as first content is.
    void restart(bool alone);

private:
    void showing(bool shown);
    void inTurn();
    void now();

    EngineView& view_;
    PageCalls& calls_;
    std::function<bool()> hasContent_;
    std::function<void()> load_;
    bool started_ = false;
    bool waiting_ = false;
    bool shown_ = false;
};

}  // namespace lumetto::engine
