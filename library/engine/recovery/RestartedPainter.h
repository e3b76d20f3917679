#pragma once

class QWebEngineView;

namespace lumetto::engine {

// After its page process restarts, the engine gives a view a new widget to paint through, of
// the old one's size, and the new page process draws nothing into it until that widget's size
// changes: the view stays white however long one waits, with or without the GPU, while the
// page works and takes clicks. Called once the restarted page has loaded, this changes the
// height by a pixel and back, which makes the view hand the new page process its surface; it
// does so again half a second and two seconds later, for a painting widget made late. The
// width stays, so that the page is not laid out anew for another width, which for a very large
// page costs about as much memory again as the page itself.
void paintRestartedPage(QWebEngineView* view);

}  // namespace lumetto::engine
