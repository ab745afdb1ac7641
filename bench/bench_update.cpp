// CPU time of one cWorldApp::update in a usual climbing scene: pictures are
// decoded for their size only (headless), time and pointer are simulated, and
// the autopilot keeps the figure climbing between the timed calls. Also: a
// whole fifteen-level climb played again from its replay, as the world
// table's server verifies one (climbs a second on one core).
#include <benchmark/benchmark.h>

#include <chrono>

#include "app/Application.h"
#include "bench_common.h"
#include "frontend/HighScoreTable.h"
#include "game/Replay.h"
#include "game/ReplayPlayer.h"
#include "game/WorldApp.h"
#include "media/TextureManager.h"
#include "pilot/AutoPilot.h"

namespace {

struct Scene {
    cSimPlatform sim;
    cApplication app{0, nullptr};
    cWorldApp* game = nullptr;
    cAutoPilot pilot{60.0f};

    Scene() {
        cTextureManager::setHeadless(true);
        new cTextureManager();
        app.highScores = new cHighScoreTable();
        setPlatform(&sim);
        game = new cWorldApp();
        game->load();
        game->activate(true);
        for (int i = 0; i < 900; ++i) step(), game->update(60.0f);
    }
    void step() {
        pilot.play(*game, sim);
        ++sim.frame;
    }
};

Scene& scene() {
    static Scene* s = new Scene();
    return *s;
}

// The update alone; the pilot's decision between calls is not timed.
void BM_WorldUpdate(benchmark::State& state) {
    Scene& s = scene();
    for (auto _ : state) {
        s.step();
        const auto start = std::chrono::steady_clock::now();
        s.game->update(60.0f);
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    state.counters["level"] = s.game->view().level;
}
BENCHMARK(BM_WorldUpdate)->UseManualTime()->MinTime(1.0);

// Pilot and update together, as the autoplay program runs them.
void BM_PilotAndUpdate(benchmark::State& state) {
    Scene& s = scene();
    for (auto _ : state) {
        s.step();
        s.game->update(60.0f);
    }
}
BENCHMARK(BM_PilotAndUpdate)->MinTime(1.0);

// The shipped climb (about 36,000 frames at 60 a second), from its file to its verdict.
void BM_VerifyClimb(benchmark::State& state) {
    scene();  // the headless picture cache
    cReplay replay;
    std::string error;
    if (!cReplay::load("data/replays/climb.zrp", replay, error)) return state.SkipWithError(error.c_str());
    for (auto _ : state) {
        cReplay parsed;
        cReplay::parse(replay.bytes(), parsed, error);
        cReplayPlayer player(parsed);
        while (player.step()) {}
        benchmark::DoNotOptimize(player.ended());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_VerifyClimb)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// What the clock reads cost, to subtract from the manual timing above.
void BM_ClockPair(benchmark::State& state) {
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const auto end = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(end - start);
    }
}
BENCHMARK(BM_ClockPair)->MinTime(0.5);

}  // namespace

BENCHMARK_MAIN();
