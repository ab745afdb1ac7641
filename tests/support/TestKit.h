// Shared helpers for the tests: a real 1024 x 768 OpenGL window under Xvfb,
// pixel read-back in drawing-space coordinates, and small fixture files.
#pragma once

#include <string>

namespace testkit {

struct Rgba {
    int r, g, b, a;
};

// Opens (once per process) a 1024 x 768 windowed OpenGL video mode with the
// game's projection and GL state, and creates the texture cache.
void openWindow();
// Creates the texture cache without a window (decode-only, nothing uploaded).
void useHeadlessTextures();
// Clears to black and loads the identity modelview with the game's camera applied.
void beginFrame();
// Reads the colour at drawing-space (x, y) (y down) from the back buffer.
Rgba readPixel(int x, int y);

// A fresh empty directory under /tmp, removed at process exit.
std::string tempDir();
void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);
// Writes a solid-colour PNG (or JPEG when the name ends in .jpg) of w x h.
void writeImage(const std::string& path, int w, int h, Rgba colour);
// The repository root (tests run from it) and the build directory.
std::string sourceDir();
std::string binaryDir();

}  // namespace testkit
