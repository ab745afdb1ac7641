// What the game does differently on each system it is built for. Exactly one
// target is built into the game's library, chosen by the build: the desktop's
// (src/target/Desktop*) or the browser's (src/target/Web* and the page's
// files beside them). Each also has an
// entry point of its own; the game's rooms never ask which one they run on.
#pragma once

#include <SDL.h>

class cTexture;

namespace target {

// The video mode the game asks SDL for.
extern const Uint32 kVideoFlags;
// Where the high-score table is kept.
extern const char* const kScoreFile;

// Settings made after SDL has started and before the video mode is set.
void prepareDisplay();
// Reads a picture into the texture: decoded and uploaded to GL, or, with a
// headless texture cache, only its size. False when it cannot be read.
bool loadPicture(const char* nativePath, cTexture& texture);
// The table's file was rewritten; the browser keeps it in its own storage.
void scoresSaved();
// The screen now shown, by the application's state numbers (0 the menu): in
// the browser, the phone's back gesture leaves the game for the menu.
void stateShown(int state);
// The name box opened or went: a phone brings up its keyboard for it.
void nameEntry(bool open);

}  // namespace target
