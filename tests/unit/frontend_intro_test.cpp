// The intro: its timetable at a steady 50 frames per second, long frames,
// a restart on every activation, and skipping by any key or button.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_opengl.h>

#include <cstring>
#include <vector>

#include "TestKit.h"
#include "app/Application.h"
#include "frontend/IntroState.h"
#include "scene/Camera.h"

namespace {

class Frame {
public:
    Frame() : pixels(1024 * 768 * 4) {
        glFinish();
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 1024, 768, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    }
    bool operator==(const Frame& other) const { return pixels == other.pixels; }

private:
    std::vector<unsigned char> pixels;
};

const int kNotGame = 1;

class IntroTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testkit::openWindow(); }

    void SetUp() override {
        intro.load();
        intro.activate(true);
        app.requestedState = kNotGame;
    }

    Frame render() {
        testkit::beginFrame();
        glLoadIdentity();
        intro.draw();
        return Frame();
    }
    // Runs 50 fps frames until the clock reaches `seconds`; returns the count.
    int runUntil(float seconds) {
        int frames = 0;
        while (intro.slideClock < seconds) {
            intro.update(50.0f);
            ++frames;
        }
        return frames;
    }

    cApplication app{0, nullptr};
    cIntroState intro;
};

TEST(IntroPhases, FollowTheTimetable) {
    EXPECT_EQ(cIntroState::phaseAt(0.0f), 0);
    EXPECT_EQ(cIntroState::phaseAt(12.999f), 0);
    EXPECT_EQ(cIntroState::phaseAt(13.0f), 1);
    EXPECT_EQ(cIntroState::phaseAt(23.999f), 1);
    EXPECT_EQ(cIntroState::phaseAt(24.0f), 2);
    EXPECT_EQ(cIntroState::phaseAt(33.999f), 2);
    EXPECT_EQ(cIntroState::phaseAt(34.0f), 3);
    EXPECT_EQ(cIntroState::phaseAt(1000.0f), 3);
}

TEST(IntroConstruction, StartsAtTheFirstSlide) {
    cIntroState fresh;
    EXPECT_FLOAT_EQ(fresh.slideClock, 0.0f);
    EXPECT_EQ(fresh.shownSlide, 0);
    EXPECT_EQ(fresh.incomingSlide, 0);
    EXPECT_FLOAT_EQ(fresh.camera->direction[2], 1.0f);
    EXPECT_FLOAT_EQ(fresh.camera->up[1], 1.0f);
}

TEST_F(IntroTest, LoadPlacesTheSlides) {
    for (const cSprite& slide : intro.slides) {
        EXPECT_FLOAT_EQ(slide.halfWidth, 512.0f);
        EXPECT_FLOAT_EQ(slide.halfHeight, 384.0f);
        EXPECT_FLOAT_EQ(slide.x, 512.0f);
        EXPECT_FLOAT_EQ(slide.y, 384.0f);
        EXPECT_FLOAT_EQ(slide.z, 10.0f);
        EXPECT_FLOAT_EQ(slide.alpha, 1.0f);
        EXPECT_NE(slide.texture, nullptr);
    }
}

TEST_F(IntroTest, TimetableAtFiftyFramesPerSecond) {
    // Slide 0 alone until the clock first reaches 13 s.
    float before = 0.0f;
    while (true) {
        before = intro.slideClock;
        intro.update(50.0f);
        if (intro.slidePhase != 0) break;
        ASSERT_EQ(intro.incomingSlide, 0);
        ASSERT_EQ(intro.shownSlide, 0);
    }
    EXPECT_LT(before, 13.0f);
    EXPECT_GE(intro.slideClock, 13.0f);
    EXPECT_EQ(intro.slidePhase, 1);
    EXPECT_EQ(intro.incomingSlide, 1);
    EXPECT_NEAR(intro.fadeLevel, 0.016f, 1e-4f);
    EXPECT_NEAR(intro.slides[0].alpha, 0.984f, 1e-4f);
    EXPECT_NEAR(intro.slides[1].alpha, 0.016f, 1e-4f);

    // The cross-fade completes about 63 frames after it started.
    int frames = 1;
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

TEST_F(IntroTest, ClockReachesThirteenAfterAboutSixHundredFiftyFrames) {
    const int frames = runUntil(13.0f);
    EXPECT_GE(frames, 649);
    EXPECT_LE(frames, 651);
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
    EXPECT_EQ(intro.shownSlide, 0);
    EXPECT_EQ(intro.incomingSlide, 0);
    EXPECT_FLOAT_EQ(intro.fadeLevel, 0.0f);
    EXPECT_EQ(intro.slidePhase, 0);
    for (const cSprite& slide : intro.slides) EXPECT_FLOAT_EQ(slide.alpha, 1.0f);
    EXPECT_TRUE(render() == first);
}

TEST_F(IntroTest, AnyKeyRequestsTheGame) {
    for (int key : {0, 8, 13, 27, 32, 97, 122, 273}) {
        SCOPED_TRACE(key);
        app.requestedState = kNotGame;
        intro.keyDown(key);
        EXPECT_EQ(app.requestedState, 2);
    }
}

TEST_F(IntroTest, AnyButtonRequestsTheGame) {
    for (int button : {1, 2, 3, 4, 5}) {
        SCOPED_TRACE(button);
        app.requestedState = kNotGame;
        intro.mouseDown(button);
        EXPECT_EQ(app.requestedState, 2);
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
