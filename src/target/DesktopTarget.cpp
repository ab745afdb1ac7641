// The desktop: a full-screen OpenGL window on the display's refresh, and
// score.txt in the working directory.
#include "target/Target.h"

namespace target {

const Uint32 kVideoFlags = 0xD0000012;  // full screen, OpenGL, double-buffered, resizable
const char* const kScoreFile = "score.txt";

void prepareDisplay() {
    // Follow the display's refresh as classic SDL does, rather than spinning
    // thousands of frames a second; motion still scales by the measured rate.
    SDL_GL_SetAttribute(SDL_GL_SWAP_CONTROL, 1);
}

void scoresSaved() {}
void stateShown(int) {}
void nameEntry(bool) {}

}  // namespace target
