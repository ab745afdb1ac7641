// The browser: a WebGL canvas drawn through emscripten's immediate-mode GL,
// and score.txt in a folder that the page keeps in the browser's own storage
// (IndexedDB).
#include "target/Target.h"

namespace target {

const Uint32 kVideoFlags = SDL_OPENGL;
const char* const kScoreFile = "/saved/score.txt";

// The browser paces frames itself (one per animation frame).
void prepareDisplay() {}

}  // namespace target

// The page's side of the saved table, the back gesture and the phone's
// keyboard (library.js).
extern "C" {
void zarvo_scores_saved();
void zarvo_state_shown(int state);
void zarvo_name_entry(int open);
}

void target::scoresSaved() { zarvo_scores_saved(); }
void target::stateShown(int state) { zarvo_state_shown(state); }
void target::nameEntry(bool open) { zarvo_name_entry(open ? 1 : 0); }
