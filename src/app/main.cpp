// Entry point: one application, started and run inside the handler that
// reports a missing resource file.
#include <unistd.h>

#include <cstdio>
#include <exception>

#include "app/Application.h"

namespace {
// Keeps the message on screen for a player who started the game from a
// terminal; with no terminal attached there is nobody to wait for.
void waitForUser() {
    if (!isatty(STDIN_FILENO)) return;
    std::printf("Press Enter to continue . . .\n");
    int c;
    do {
        c = std::getchar();
    } while (c != '\n' && c != EOF);
}
}  // namespace

int main(int argc, char** argv) {
    // Each line reaches a log file or the desktop session's log as it is
    // written, not when the game ends (or never, when it crashes).
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    try {
        cApplication app(argc, argv);
        app.init();
        app.run();
    } catch (std::exception* e) {
        std::printf("Error:%s\n", e->what());
        waitForUser();
        delete e;  // nothing else holds it; keeps leak checkers quiet on this path
    }
    return 0;
}
