// The intro: its timetable at a steady 50 frames per second, long frames,
// a restart on every activation, and skipping by any key or button.
#include <gtest/gtest.h>

#include "TestKit.h"
#include "app/Application.h"
#include "frontend/IntroState.h"

namespace {

using testkit::Frame;

const int kNotGame = 1;

class IntroTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testkit::openWindow(); }

    void SetUp() override {
        intro.load();
        intro.activate(true);
        app.requestedState = kNotGame;
    }

    Frame render() { return testkit::drawnFrame(intro); }
    // Runs 50 fps frames until the clock reaches `seconds`.
    void runUntil(float seconds) {
        while (intro.slideClock < seconds) intro.update(50.0f);
    }

    cApplication app{0, nullptr};
    cIntroState intro;
};

TEST(IntroPhases, FollowTheTimetable) {
    const struct {
        float seconds;
        int phase;
    } rows[] = {{0.0f, 0},    {12.999f, 0}, {13.0f, 1}, {23.999f, 1},
                {24.0f, 2},   {33.999f, 2}, {34.0f, 3}, {1000.0f, 3}};
    for (const auto& r : rows) EXPECT_EQ(cIntroState::phaseAt(r.seconds), r.phase) << r.seconds;
}

TEST_F(IntroTest, TimetableAtFiftyFramesPerSecond) {
    // Slide 0 alone until the clock first reaches 13 s, after about 650 frames.
    float before = 0.0f;
    int frames = 0;
    while (true) {
        before = intro.slideClock;
        intro.update(50.0f);
        ++frames;
        if (intro.slidePhase != 0) break;
        ASSERT_EQ(intro.incomingSlide, 0);
        ASSERT_EQ(intro.shownSlide, 0);
    }
    EXPECT_LT(before, 13.0f);
    EXPECT_GE(intro.slideClock, 13.0f);
    EXPECT_GE(frames, 650);
    EXPECT_LE(frames, 652);
    EXPECT_EQ(intro.slidePhase, 1);
    EXPECT_EQ(intro.incomingSlide, 1);
    EXPECT_NEAR(intro.fadeLevel, 0.016f, 1e-4f);
    EXPECT_NEAR(intro.slides[0].alpha, 0.984f, 1e-4f);
    EXPECT_NEAR(intro.slides[1].alpha, 0.016f, 1e-4f);

    // The cross-fade completes about 63 frames after it started.
    frames = 1;
    while (intro.shownSlide != 1) {
        intro.update(50.0f);
        ++frames;
        ASSERT_LT(frames, 100);
    }
    EXPECT_GE(frames, 62);
    EXPECT_LE(frames, 64);
    EXPECT_FLOAT_EQ(intro.fadeLevel, 1.0f);
    EXPECT_EQ(intro.incomingSlide, 1);
    EXPECT_FLOAT_EQ(intro.slides[1].alpha, 1.0f);

    // The second cross-fade starts from slide 1 at 24 s.
    while (intro.slidePhase == 1) intro.update(50.0f);
    EXPECT_EQ(intro.slidePhase, 2);
    EXPECT_EQ(intro.shownSlide, 1);
    EXPECT_EQ(intro.incomingSlide, 2);
    EXPECT_NEAR(intro.fadeLevel, 0.016f, 1e-4f);

    // The game is requested in the frame in which the clock reaches 34 s.
    while (true) {
        before = intro.slideClock;
        intro.update(50.0f);
        if (intro.slideClock >= 34.0f) break;
        ASSERT_EQ(app.requestedState, kNotGame);
    }
    EXPECT_LT(before, 34.0f);
    EXPECT_EQ(app.requestedState, 2);
    EXPECT_EQ(intro.slidePhase, 3);
    EXPECT_EQ(intro.shownSlide, 2);
}

TEST_F(IntroTest, LongFrameCompletesTheFirstFadeAtOnce) {
    intro.update(1.0f / 12.5f);
    EXPECT_EQ(intro.slidePhase, 0);
    intro.update(1.0f / 1.3f);
    EXPECT_EQ(intro.slidePhase, 1);
    EXPECT_FLOAT_EQ(intro.fadeLevel, 1.0f);
    EXPECT_EQ(intro.incomingSlide, 1);
    EXPECT_FLOAT_EQ(intro.slides[0].alpha, 0.0f);
    EXPECT_FLOAT_EQ(intro.slides[1].alpha, 1.0f);
    intro.update(50.0f);
    EXPECT_EQ(intro.shownSlide, 1);
    EXPECT_EQ(intro.incomingSlide, 1);
    EXPECT_FLOAT_EQ(intro.slides[1].alpha, 1.0f);
}

TEST_F(IntroTest, OneFramePastTwentyFourSkipsTheSecondSlide) {
    intro.update(1.0f / 24.5f);
    EXPECT_EQ(intro.slidePhase, 2);
    EXPECT_EQ(intro.incomingSlide, 2);
    EXPECT_FLOAT_EQ(intro.slides[0].alpha, 0.0f);
    EXPECT_FLOAT_EQ(intro.slides[2].alpha, 1.0f);
    while (app.requestedState != 2) {
        ASSERT_NE(intro.shownSlide, 1);
        ASSERT_NE(intro.incomingSlide, 1);
        intro.update(50.0f);
    }
    EXPECT_EQ(intro.shownSlide, 2);
    EXPECT_FLOAT_EQ(intro.slides[1].alpha, 1.0f);  // never touched
}

TEST_F(IntroTest, ReactivationRestartsAtTheFirstSlideAtFullAlpha) {
    const Frame first = render();
    runUntil(30.0f);
    const Frame late = render();
    EXPECT_FALSE(first == late);
    runUntil(35.0f);
    EXPECT_EQ(app.requestedState, 2);

    intro.activate(false);
    intro.activate(true);
    EXPECT_FLOAT_EQ(intro.slideClock, 0.0f);
    EXPECT_EQ(intro.slidePhase, 0);
    for (const cSprite& slide : intro.slides) EXPECT_FLOAT_EQ(slide.alpha, 1.0f);
    EXPECT_TRUE(render() == first);
}

TEST_F(IntroTest, AnyKeyOrButtonRequestsTheGame) {
    for (int key : {0, 8, 13, 27, 32, 97, 122, 273}) {
        app.requestedState = kNotGame;
        intro.keyDown(key);
        EXPECT_EQ(app.requestedState, 2) << "key " << key;
    }
    for (int button : {1, 2, 3, 4, 5}) {
        app.requestedState = kNotGame;
        intro.mouseDown(button);
        EXPECT_EQ(app.requestedState, 2) << "button " << button;
    }
}

TEST_F(IntroTest, KeyInTheFirstFrameLeavesThatFrameRunning) {
    intro.keyDown(27);
    intro.update(50.0f);
    render();
    EXPECT_EQ(app.requestedState, 2);
    EXPECT_NEAR(intro.slideClock, 0.02f, 1e-6f);
    EXPECT_EQ(intro.shownSlide, 0);
}

}  // namespace
