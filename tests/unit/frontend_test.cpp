// The screens around the game, drawn for real and read back: the menu with its
// music, the high-score and credits screens it hosts, the intro and the name box.
#include <gtest/gtest.h>

#include <SDL_mixer.h>
#include <SDL_opengl.h>

#include "TestKit.h"
#include "app/Application.h"
#include "frontend/HighScoreTable.h"
#include "frontend/IntroState.h"
#include "frontend/MenuState.h"
#include "frontend/NameBox.h"
#include "media/BitmapFont.h"
#define GFX "data\\graphics\\"

// Sound mixed so far (ms), and when the music last changed between stopped (-1)
// and its fading states; the mixer logs both after every buffer it fills.
double mixedMs = 0, changedAt = 0;
int music = -2;
int musicNow() { return Mix_PlayingMusic() ? Mix_FadingMusic() : -1; }
void logMusic(void*, Uint8*, int bytes) {
    mixedMs += bytes / 88.2;  // 22050 Hz, 16-bit stereo
    if (musicNow() != music) music = musicNow(), changedAt = mixedMs;
}

// Runs `act` with the mixer held still and expects the music in state `now`;
// returns how much sound later it reached state `then`.
template <typename F>
double soundUntil(F act, int now, int then) {
    SDL_LockAudio(), act();
    const double start = mixedMs;
    EXPECT_EQ(now, musicNow());
    for (Uint32 deadline = SDL_GetTicks() + 60000; (music != then || changedAt <= start) && SDL_GetTicks() < deadline;)
        SDL_UnlockAudio(), SDL_Delay(5), SDL_LockAudio();
    const double after = music == then && changedAt > start ? changedAt - start : 1e9;
    SDL_UnlockAudio();
    return after;
}

struct Picture { const char* path; float x, y, hw, hh; };
struct Text { const char* text; float x, y; int align; };
Picture full(const char* path) { return {path, 512, 384, 512, 384}; }
Picture cursorAt(int x, int y) { return {GFX "cursor.png", float(x), float(y), 0, 0}; }

// A cleared screen with the pictures (half-size 0: the picture's own; no path: none)
// and then the texts in the screens' font at three quarters size.
testkit::Frame painted(std::initializer_list<Picture> pictures, std::initializer_list<Text> texts = {}) {
    testkit::beginFrame();
    for (const Picture& p : pictures) {
        if (!p.path) continue;
        cSprite sprite;
        sprite.load(p.path);
        if (p.hw > 0) sprite.setHalfSize(p.hw, p.hh);
        sprite.x = p.x, sprite.y = p.y, sprite.z = 10;
        glPushMatrix(), sprite.draw(), glPopMatrix();
    }
    cBitmapFont font;
    font.load(GFX "fontfull.png", kFontGlyphs);
    font.setScale(0.75);
    for (const Text& t : texts) font.setAlign(t.align, -1), font.drawText(t.text, t.x, t.y, 10);
    return testkit::Frame();
}

// The menu and the intro, loaded once with the sound open and a pointer the tests move;
// the application owns the high-score table.
struct Screens {
    Screens() {
        testkit::openWindow();
        EXPECT_TRUE(testkit::openAudio()) << Mix_GetError();
        Mix_SetPostMix(logMusic, nullptr);
        setPlatform(&pointer), menu.load(), intro.load();
    }
    // The state's frame with the pointer at (x, y).
    testkit::Frame show(cAppState& state, int x, int y) { return pointer.x = x, pointer.y = y, state.update(50.0f), testkit::drawnFrame(state); }
    testkit::FakePlatform pointer;
    cHighScoreTable& table = *(testkit::app().highScores = new cHighScoreTable());
    cMenuState menu;
    cIntroState intro;
};

Screens& screens() {
    static Screens s;
    return testkit::app().requestedState = s.menu.subScreen = 0, s;
}

TEST(Menu, ButtonsLightAndActWithinTheirEdgesAndMusicFades) {
    Screens& s = screens();
    // What a click does: {requested state, sub-screen, quit events}.
    const struct { float x, y, w, h; const char* picture; std::vector<int> click; } buttons[] = {
        {838.5f, 322.5f, 129, 65, GFX "menu1.png", {1, 0, 0}}, {890, 394, 200, 66, GFX "menu2.png", {0, 1, 0}},
        {772, 466, 207, 70, GFX "menu3.png", {0, 2, 0}}, {836, 543, 210, 64, GFX "menu4.png", {0, 0, 1}}};
    for (const auto& b : buttons) {
        const int edges[] = {int(b.x - b.w / 2 + 0.5f), int(b.x + b.w / 2), int(b.y - b.h / 2 + 0.5f), int(b.y + b.h / 2)};
        for (int k = 0; k < 8; ++k, testkit::app().requestedState = s.menu.subScreen = 0) {
            const bool in = k % 2 == 0, acts = in && k % 5 % 2 == 0;  // on each edge, then one beyond
            const int edge = edges[k / 2] + (in ? 0 : k / 2 % 2 ? 1 : -1), x = k < 4 ? edge : b.x, y = k < 4 ? b.y : edge;
            const testkit::Frame expected = painted({full(GFX "menu.jpg"), {in ? b.picture : nullptr, b.x, b.y, 0, 0}, cursorAt(x, y)});
            EXPECT_TRUE(s.show(s.menu, x, y) == expected) << x << "," << y;
            s.menu.mouseDown(1 + k % 5, x, y);  // mouse buttons 1 to 5 in turn; left, right and wheel-down act
            SDL_Event quit;
            const std::vector<int> click = {testkit::app().requestedState, s.menu.subScreen, SDL_PeepEvents(&quit, 1, SDL_GETEVENT, SDL_QUITMASK)};
            EXPECT_EQ(acts ? b.click : std::vector<int>(3), click) << x << "," << y;
        }
    }
    // The music fades in over two seconds of sound at volume 50 of 128, and out in 50 ms.
    Mix_HaltMusic(), Mix_VolumeMusic(128);
    const double in = soundUntil([&] { s.menu.activate(true); }, MIX_FADING_IN, MIX_NO_FADING);
    EXPECT_TRUE(in > 1800 && in < 2400) << in;
    EXPECT_EQ(50, Mix_VolumeMusic(-1));
    EXPECT_LT(soundUntil([&] { s.menu.activate(false); }, MIX_FADING_OUT, -1), 300);
}

TEST(HostedScreens, HighScoresShowFilledRowsAndCreditsLeadBackFromTheirCorner) {
    Screens& s = screens();
    s.table.entries[0] = {"AB", 3000000000u}, s.table.entries[1] = {"CD", 7}, s.menu.subScreen = 1;
    EXPECT_TRUE(s.show(s.menu, 1000, 740) == painted({full(GFX "score.jpg"), {GFX "score_caption.png", 512, 58, 92, 29}, cursorAt(1000, 740)},
        {{"AB", 138, 128, -1}, {"3000000000", 896, 128, 1}, {"CD", 138, 181, -1}, {"7", 896, 181, 1}}));
    s.table = cHighScoreTable();
    for (int button = 1; button <= 5; ++button, s.menu.subScreen = 1)  // keys do nothing, any button leaves
        EXPECT_EQ(0, (s.menu.keyDown(27), s.menu.mouseDown(button, 500, 400), s.menu.subScreen)) << button;
    // The credits' return corner lights up and leads back exactly where x > 768 and y < 128.
    // A click goes by where it was made, with any mouse button.
    const struct { int x, y, button; bool in; } probes[] = {{768, 50, 1, 0}, {900, 128, 2, 0}, {769, 128, 3, 0},
                                                              {769, 127, 4, 1}, {1023, 0, 5, 1}, {500, 400, 1, 0}};
    for (const auto& p : probes) {
        s.menu.subScreen = 2;
        const testkit::Frame expected = painted({full(GFX "credits.png"), {p.in ? GFX "cred.png" : nullptr, 891, 67, 128, 64}, cursorAt(p.x, p.y)});
        EXPECT_TRUE(s.show(s.menu, p.x, p.y) == expected) << p.x << "," << p.y;
        s.pointer.x = 900, s.pointer.y = 60, s.menu.mouseDown(p.button, p.x, p.y);
        EXPECT_EQ(p.in ? 0 : 2, s.menu.subScreen) << p.x << "," << p.y;
    }
}

TEST(Intro, ShowsItsThreePicturesOnTimeThenRequestsTheGame) {
    Screens& s = screens();
    for (int run = 0; run < 2; ++run, testkit::app().requestedState = 0) {  // each activation starts afresh
        s.intro.activate(true);
        std::vector<int> changes;  // frames at 50 fps in which the phase or the slide shown changes
        for (int frame = 1; testkit::app().requestedState == 0 && frame < 2000; ++frame) {
            const std::string slide = GFX "zarvo" + std::to_string(2 + frame / 800) + ".jpg";  // at 0, 16 and 32 s
            if (frame % 800 == 1) { EXPECT_TRUE(testkit::drawnFrame(s.intro) == painted({full(slide.c_str())})) << frame; }
            const int was = s.intro.slidePhase * 3 + s.intro.shownSlide;
            s.intro.update(50.0f);
            if (s.intro.slidePhase * 3 + s.intro.shownSlide != was) changes.push_back(frame);
            if (frame == 680) { EXPECT_NEAR(0.496f, s.intro.slides[1].alpha, 1e-3f); }  // fading in at 0.8 a second
            if (frame == 680) { EXPECT_NEAR(0.504f, s.intro.slides[0].alpha, 1e-3f); }  // and out
        }
        EXPECT_EQ((std::vector<int>{650, 712, 1200, 1262, 1700}), changes);  // 13 s, 1.25 s later, 24 s, ..., 34 s
        s.intro.activate(false);
    }
    for (int input = 0; input < 10; ++input, testkit::app().requestedState = 0)  // any key or button skips
        EXPECT_EQ(2, (input < 5 ? s.intro.keyDown("\b\r\x1b a"[input]) : s.intro.mouseDown(input - 4, 0, 0),
                      testkit::app().requestedState)) << input;
}

TEST(NameBox, TypesUpToSevenLettersAndShowsThemOverItsPicture) {
    screens();
    const struct { const char *keys, *name; int length; } rows[] = {  // < is Backspace
        {"", "       ", 0}, {"ABC", "ABC    ", 3}, {"ABCDEFG", "ABCDEFG", 6}, {"ABCDEFGHI", "ABCDEFI", 6},
        {"ABCDEFG<", "ABCDEF ", 6}, {"ABCDEFG<<", "ABCDE  ", 5}, {"AB<<<C", "C      ", 1}};
    for (const auto& r : rows) {
        cNameBox box;
        for (const char* k = r.keys; *k; ++k) *k == '<' ? box.removeChar() : (void)box.addChar(*k);
        EXPECT_EQ(r.name + std::to_string(r.length), box.entry.name + std::to_string(box.length)) << r.keys;
        box.x = 512, box.y = 250, box.z = 8, box.update(50.0f), testkit::beginFrame(), box.draw();
        const testkit::Frame drawn;  // the typing mark draws as a blank; the score beside it is the game tests' part
        const testkit::Frame expected = painted({{GFX "highscore.png", 512, 250, 0, 0}}, {{r.name, 367, 305, -1}});
        EXPECT_EQ(0, testkit::countDifferences(drawn, expected, {0, 0, 1023, 767}, {{532, 250, 700, 348}})) << r.keys;
    }
}
