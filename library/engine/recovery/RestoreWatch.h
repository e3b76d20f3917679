#pragma once

namespace lumetto::engine {

// Keeps content that costs the page process from being restored into it again and again.
// Restored content is watched until the page reports it drawn. A control whose restored
// content had not drawn when the process ended is a suspect: it restores alone, once the
// other controls of the process have drawn theirs. A suspect whose content again ends the
// process before it draws, with no other control's restored content undrawn in the process,
// is the cause: it comes back without that content. One that was not alone there (a busy
// machine drew the other slowly, or its turn passed while its own content still loaded) is
// not judged: it stays a suspect. Content in a view that is not shown is not watched, since a
// hidden page does not draw.
class RestoreWatch {
public:
    enum class Next {
        Restore,       // with the others, at once
        RestoreAlone,  // once the others have drawn theirs
        RestoreEmpty,  // without the content: it ended the process while restored alone
    };

    RestoreWatch() = default;
    RestoreWatch(const RestoreWatch&) = delete;
    RestoreWatch& operator=(const RestoreWatch&) = delete;
    ~RestoreWatch();

    // The page process ended: how the control is to come back. Every control of the process
    // is told before any of them loads its shell again, so each judges by the same state.
    Next processLost();
    // The control loads its shell again after its page process ended: what it restored into
    // that process is gone with it.
    void restarting();
    // Restored content reached a page that is shown.
    void restoring();
    // The page drew what it was given.
    void drawn();
    // Whether restored content is in the page and has not drawn yet.
    bool watching() const;

private:
    bool suspect_ = false;
};

}  // namespace lumetto::engine
