// The climb's one source of chance: exactly the numbers that glibc's rand()
// draws after srand(seed), drawn by the game itself. The browser's C library
// draws other numbers, so with the C library's own generator the browser's
// build would lay other bricks for the same seed, and a climb recorded on one
// target could not be played again on the other.
#pragma once

#include <cstdint>

class cRandom {
public:
    // Starts the sequence that srand(seed) starts.
    static void seed(unsigned seed);
    // The next number, 0 to 2^31 - 1, as rand() gives it.
    static int next();

private:
    // An additive generator over 31 words: each number is the sum of the
    // words 31 and 3 places back, halved.
    static constexpr int kDegree = 31;
    static constexpr int kSeparation = 3;
    static std::uint32_t state[kDegree];
    static int front;  // the word 3 places back, which takes the sum
    static int rear;   // the word 31 places back
};
