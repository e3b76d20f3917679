#pragma once

namespace lumetto {

// Keeps content that costs the page process from being restored into it again and again.
// Restored content is watched until the page reports it drawn. A control whose restored
// content had not drawn when the process ended is a suspect: it restores alone, once the
// other controls of the process have drawn theirs. A suspect whose content again ends the
// process before it draws, while it drew alone, is the cause: it comes back without that
// content. One whose turn had passed (a busy machine drew it slowly, and another suspect
// started) is not judged: it stays a suspect. Content in a view
// that is not shown is not watched, since a hidden page does not draw.
class RestoreWatch {
public:
    enum class Next {
        Restore,       // with the others, at once
        RestoreAlone,  // once the others have drawn theirs
        RestoreEmpty,  // without the content: it ended the process while restored alone
    };

    // The page process ended, while the control's content was drawn alone or not: how the
    // control is to come back.
    Next processLost(bool drawingAlone);
    // Restored content reached a page that is shown.
    void restoring() { restoring_ = true; }
    // The page drew what it was given.
    void drawn();

private:
    bool restoring_ = false;
    bool suspect_ = false;
};

}  // namespace lumetto
