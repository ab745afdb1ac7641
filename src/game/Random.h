// The climb's one source of chance: exactly the numbers that glibc's rand()
// draws after srand(seed), drawn by the game itself. The browser's C library
// draws other numbers, so with the C library's own generator the browser's
// build would lay other bricks for the same seed, and a climb recorded on one
// target could not be played again on the other.
#pragma once

#include <cstdint>

class cRandom {
    // An additive generator over 31 words: each number is the sum of the
    // words 31 and 3 places back, halved.
    static constexpr int kDegree = 31;
    static constexpr int kSeparation = 3;

public:
    struct State {
        std::uint32_t words[kDegree];
        int front;  // the word 3 places back, which takes the sum
        int rear;   // the word 31 places back
    };

    // Starts the sequence that srand(seed) starts.
    static void seed(unsigned seed);
    // The next number, 0 to 2^31 - 1, as rand() gives it.
    static int next();
    // Exchanges the generator's state with `other`. A second climb played
    // beside the player's (a replay being watched) draws from its own state
    // this way, and neither disturbs the other's sequence.
    static void swap(State& other);

private:
    static State state;
};
