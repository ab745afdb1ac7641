#include "game/Random.h"

#include <utility>

cRandom::State cRandom::state = {};

void cRandom::seed(unsigned seed) {
    if (seed == 0) seed = 1;
    // The words follow from the seed by the "minimal standard" generator,
    // 16807 * word mod (2^31 - 1), in Schrage's form so that nothing overflows.
    std::int32_t word = static_cast<std::int32_t>(seed);
    state.words[0] = static_cast<std::uint32_t>(word);
    for (int i = 1; i < kDegree; ++i) {
        const long high = word / 127773, low = word % 127773;
        long next = 16807 * low - 2836 * high;
        if (next < 0) next += 2147483647;
        word = static_cast<std::int32_t>(next);
        state.words[i] = static_cast<std::uint32_t>(word);
    }
    state.front = kSeparation;
    state.rear = 0;
    // The first ten rounds of the state are mixed away unseen.
    for (int i = 0; i < kDegree * 10; ++i) next();
}

int cRandom::next() {
    state.words[state.front] += state.words[state.rear];
    const int result = static_cast<int>(state.words[state.front] >> 1);
    state.front = (state.front + 1) % kDegree;
    state.rear = (state.rear + 1) % kDegree;
    return result;
}

void cRandom::swap(State& other) { std::swap(state, other); }
