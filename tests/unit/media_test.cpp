// Pictures, sprites, text and sound: textures drawn into a real window and
// read back, music and effects on a real mixer over the dummy audio driver.
#include <gtest/gtest.h>

#include <SDL_opengl.h>

#include <atomic>
#include <cstdlib>

#include "TestKit.h"
#include "media/BitmapFont.h"
#include "media/Music.h"
#include "media/Sound.h"
#include "media/Sprite.h"
#include "media/Texture.h"
#include "media/TextureManager.h"

namespace {

std::atomic<long> mixedBytes{0};  // counted by the mixer after each chunk it puts out

// The colour at (x, y) of the frame as a letter: . b g c r m y w at full
// strength, upper case at half strength, ? for anything else.
char colourAt(const testkit::Frame& frame, int x, int y) {
    const unsigned char* p = frame.at(x, y);
    int bits = 0, levels = 0;  // a bit for each level seen: 1 none, 2 half, 4 full
    for (int c : {p[0], p[1], p[2]})
        bits = bits * 2 + (c >= 30), levels |= c < 30 ? 1 : std::abs(c - 128) < 20 ? 2 : c > 225 ? 4 : 8;
    return (levels & ~5) == 0 ? ".bgcrmyw"[bits] : (levels & ~3) == 0 ? ".BGCRMYW"[bits] : '?';
}

struct Media : ::testing::Test {
    static void SetUpTestSuite() {
        testkit::openWindow(), testkit::openAudio(), Mix_SetPostMix([](void*, Uint8*, int n) { mixedBytes += n; }, nullptr);
        dir = testkit::tempDir();
        // A strip of four 16-pixel cells (red, green, blue, yellow), and the
        // same cells as a 2 x 2 picture (red, green over blue, yellow).
        const std::string cmd = "convert -size 16x16 xc:red xc:lime xc:blue xc:yellow +append +repage -define png:color-type=6 "
                                "-write " + dir + "/strip.png -crop 32x16 +repage -append " + dir + "/quarters.png";
        ASSERT_EQ(0, std::system(cmd.c_str()));
        // 100 ms of a 16-bit stereo square wave at 22050 Hz (little-endian header).
        const unsigned frames = 2205, header[] = {0x46464952, 36 + frames * 4, 0x45564157, 0x20746d66, 16,
                                                 0x00020001, 22050, 88200, 0x00100004, 0x61746164, frames * 4};
        std::string wav(reinterpret_cast<const char*>(header), sizeof header);
        for (unsigned i = 0; i < frames * 2; ++i) wav.append(i / 100 % 2 ? "\0\x20" : "\0\xE0", 2);
        testkit::writeFile(dir + "/beep.wav", wav);
    }
    static inline std::string dir;
    cTextureManager& cache = cTextureManager::getSingleton();
};

TEST_F(Media, TextureCacheLoadsEachPathOnce) {
    const std::string path = dir + "/odd.png", later = dir + "/later.png", backslashed = dir + "\\later.png";
    testkit::writeImage(path, 101, 55, "white");
    const int before = cache.count;
    cSprite s;
    s.load(path.c_str());
    EXPECT_EQ(s.texture, cache.getTexture(path.c_str()));
    EXPECT_EQ(before + 1, cache.count);
    EXPECT_EQ(std::make_pair(50.0f, 27.0f), std::make_pair(s.halfWidth, s.halfHeight));
    GLint filters[2];
    s.texture->bind(), glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filters[0]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filters[1]);
    EXPECT_EQ((std::vector<GLint>{GL_LINEAR_MIPMAP_NEAREST, GL_LINEAR}), std::vector<GLint>(filters, filters + 2));

    // A failed load adds nothing and is tried again later; backslashes open
    // as folder separators but the key is the text as written.
    EXPECT_EQ("File " + later + " not found!", testkit::thrownText([&] { s.load(later.c_str()); }));
    testkit::writeImage(later, 4, 4, "black");
    cTexture* b = cache.getTexture(backslashed.c_str());
    EXPECT_EQ(backslashed, b->path);
    EXPECT_NE(b, cache.getTexture(later.c_str()));
    EXPECT_EQ(before + 3, cache.count);

    // The table takes 512 pictures; then it refuses new ones but still serves cached ones.
    std::vector<cTexture> fillers(cTextureManager::capacity - 1 - cache.count);
    for (cTexture& f : fillers) cache.textures[cache.count++] = &f;
    cache.getTexture((dir + "/./odd.png").c_str());
    const std::string extra = dir + "/./later.png";
    EXPECT_EQ("File " + extra + " not found!", testkit::thrownText([&] { cache.getTexture(extra.c_str()); }));
    EXPECT_EQ(b, cache.getTexture(backslashed.c_str()));
    delete cache.textures[cache.count - 1];
    while (cache.count > before + 3) cache.textures[--cache.count] = nullptr;
}

// The quarters picture (32 x 32) drawn over blue through a texture window
// with an alpha, once or twice without a matrix reset, as the states draw:
// x grows right and y down, only z from 0.1 to 100 shows, alpha blends.
TEST_F(Media, SpritesInTheDrawingSpace) {
    const struct { int x, y; float z, uv, size, alpha; int draws; std::string colours; } rows[] = {
        {100, 100, 1, 0, 1, 1, 1, "rgbybb"},    {1000, 700, 1, 0, 1, 1, 1, "rgbybb"},
        {300, 300, 0.2f, 0, 1, 1, 1, "rgbybb"}, {300, 300, 30, 0, 1, 1, 1, "rgbybb"},
        {300, 300, 99, 0, 1, 1, 1, "rgbybb"},   {300, 300, 0.05f, 0, 1, 1, 1, "bbbbbb"},
        {300, 300, 101, 0, 1, 1, 1, "bbbbbb"},  {300, 300, 1, 0.5f, 0.5f, 1, 1, "yyyybb"},
        {300, 300, 1, 0, 1, 0.5f, 1, "MCbWbb"}, {300, 300, 1, 0, 1, 0, 1, "bbbbbb"},
        {300, 300, 1, 0, 1, 1, 2, "rgbybb"}};  // the second quad at twice the offset
    for (const auto& r : rows) {
        cSprite s;
        s.load((dir + "/quarters.png").c_str());
        s.setWindowOrigin(r.uv, r.uv), s.setWindowSize(r.size, r.size), s.setAlpha(r.alpha);
        s.x = float(r.x), s.y = float(r.y), s.z = r.z;
        testkit::beginFrame(), glClearColor(0, 0, 1, 1), glClear(GL_COLOR_BUFFER_BIT);
        for (int i = 0; i < r.draws; ++i) s.draw();
        const int x = r.x * r.draws, y = r.y * r.draws;  // the last quad's centre, then its mirror images
        const testkit::Frame f;
        const std::string seen = {colourAt(f, x - 8, y - 8), colourAt(f, x + 8, y - 8), colourAt(f, x - 8, y + 8),
                                  colourAt(f, x + 8, y + 8), colourAt(f, 1023 - x, y), colourAt(f, x, 767 - y)};
        EXPECT_EQ(r.colours, seen) << r.x << "," << r.y << " z " << r.z << " window " << r.uv << " alpha "
                                   << r.alpha << " drawn " << r.draws;
    }
}

// Text drawn at (500, 300) over the strip as glyphs "ABCA" (the second A,
// yellow, is never used), read every 4 pixels along one row from x.
TEST_F(Media, FontPlacesGlyphs) {
    cBitmapFont font;
    font.load((dir + "/strip.png").c_str(), "ABCA");
    const struct { const char* text; int alignX, alignY; double scale; int x, y; std::string colours; } rows[] = {
        {"ABC", -1, -1, 1, 490, 302, ".rrrrggggbbbb."},    // the first glyph centred on x
        {"ABC", 0, -1, 1, 466, 302, ".rrrrggggbbbb."},     // centred on x
        {"ABC", 1, -1, 1, 442, 302, ".rrrrggggbbbb."},     // ending a whole width left of x
        {"A\nB\nC", -1, -1, 1, 490, 302, ".rrrr."},        // first line at y
        {"A\nB\nC", -1, 0, 1, 490, 302, ".gggg."},         // centred on y
        {"A\nB\nC", -1, 1, 1, 490, 302, ".bbbb."},         // last line at y
        {"BCA\nA", 1, -1, 1, 442, 318, ".rrrr."},          // lines start where the widest does
        {"AB", -1, -1, 0.75, 490, 302, ".rrrgggg."},       // narrower advance, full-size glyphs
        {"A B", 1, -1, 0.5, 466, 302, ".rrrr..gggg."}};    // measured scaled, but a space advances a whole cell
    for (const auto& r : rows) {
        font.setAlign(r.alignX, r.alignY), font.setScale(r.scale), testkit::beginFrame();
        font.drawText(r.text, 500, 300, 1);
        const testkit::Frame f;
        std::string seen;
        for (size_t i = 0; i < r.colours.size(); ++i) seen += colourAt(f, r.x + 4 * int(i), r.y);
        EXPECT_EQ(r.colours, seen) << r.text << " align " << r.alignX << "," << r.alignY << " scale " << r.scale;
    }
}

// Without an audio device, a sound or a piece is known by its format's mark.
TEST(Sounds, AreKnownByTheirMarkWithoutADevice) {
    const std::string file = testkit::tempDir() + "/f";
    const struct { const char* bytes; long offset; const char* mark; bool carries; } rows[] = {
        {"RIFF1234WAVEfmt ", 8, "WAVE", true}, {"RIFF1234AVI LIST", 8, "WAVE", false}, {"OggS", 0, "OggS", true},
        {"Ogg", 0, "OggS", false}};
    for (const auto& r : rows) {
        testkit::writeFile(file, r.bytes);
        EXPECT_EQ(r.carries, carriesMark(file.c_str(), r.offset, r.mark)) << r.bytes;
    }
    EXPECT_FALSE(carriesMark((file + "-missing").c_str(), 0, "OggS"));
}

// Music repeats; effects play once, on their own channel or on a free one.
TEST_F(Media, MusicRepeatsAndEffectsPlayOnceOnTheirChannel) {
    cMusic music, idle;
    cSound fixed, a, b;
    music.load((dir + "/beep.wav").c_str());
    fixed.setChannel(3), fixed.setVolume(20);  // not loaded yet: the volume is lost
    for (cSound* s : {&fixed, &a, &b}) s->load((dir + "\\beep.wav").c_str());
    EXPECT_EQ(MIX_MAX_VOLUME, Mix_VolumeChunk(fixed.chunk, -1));
    fixed.play(), fixed.play();  // restarts on its channel instead of adding a copy
    EXPECT_EQ(std::make_pair(fixed.chunk, 1), std::make_pair(Mix_GetChunk(3), Mix_Playing(-1)));
    a.play(), b.play();
    EXPECT_EQ(3, Mix_Playing(-1));
    for (bool fade : {false, true}) {
        fade ? music.fadeIn(10) : music.play();
        // Wait for 150 ms of output, one and a half lengths of the piece and the effects.
        const long target = mixedBytes + 22050L * 4 * 150 / 1000;
        for (Uint32 start = SDL_GetTicks(); mixedBytes < target && SDL_GetTicks() - start < 30000;) SDL_Delay(5);
        ASSERT_GE(mixedBytes, target);
        // The music goes round again; each effect has played once.
        EXPECT_EQ(std::make_pair(1, 0), std::make_pair(Mix_PlayingMusic(), Mix_Playing(-1))) << "fade " << fade;
    }
    music.setVolume(50), idle.setVolume(10), idle.fadeOut(50);  // a piece never loaded leaves the stream alone
    EXPECT_EQ(std::make_pair(50, int(MIX_NO_FADING)), std::make_pair(Mix_VolumeMusic(-1), int(Mix_FadingMusic())));
    music.release();
    for (cSound* s : {&fixed, &a, &b}) s->release();
}

}  // namespace
