// Pictures reach the screen through the texture cache and the sprite quad;
// these cases draw into a real window and read the pixels back.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_opengl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "TestKit.h"
#include "media/ResFileException.h"
#include "media/Sprite.h"
#include "media/Texture.h"
#include "media/TextureManager.h"

using testkit::Rgba;

namespace {

cTextureManager& cache() { return cTextureManager::getSingleton(); }

// Calls getTexture and returns the exception text, or "" when nothing was thrown.
std::string failureOf(const std::string& path) {
    return testkit::thrownText([&] { cache().getTexture(path.c_str()); });
}

std::string notFound(const std::string& path) { return "File " + path + " not found!"; }

::testing::AssertionResult near(Rgba want, Rgba got, int tolerance = 10) {
    if (std::abs(want.r - got.r) <= tolerance && std::abs(want.g - got.g) <= tolerance &&
        std::abs(want.b - got.b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "want (" << want.r << "," << want.g << "," << want.b
                                         << ") got (" << got.r << "," << got.g << "," << got.b << ")";
}

::testing::AssertionResult pixelIs(Rgba want, int x, int y, int tolerance = 10) {
    return near(want, testkit::readPixel(x, y), tolerance) << " at " << x << "," << y;
}

const Rgba kBlack{0, 0, 0, 255};
const Rgba kWhite{255, 255, 255, 255};
const Rgba kRed{255, 0, 0, 255};
const Rgba kGreen{0, 255, 0, 255};
const Rgba kBlue{0, 0, 255, 255};
const Rgba kYellow{255, 255, 0, 255};

class MediaTexture : public ::testing::Test {
protected:
    void SetUp() override {
        testkit::openWindow();
        dir = testkit::tempDir();
    }
    // Writes a solid picture into the test's directory and returns its path.
    std::string picture(const std::string& name, int w, int h, Rgba colour = kWhite) {
        const std::string path = dir + "/" + name;
        testkit::writeImage(path, w, h, colour);
        return path;
    }
    // Runs ImageMagick's convert with `layout` as the picture description.
    std::string composed(const std::string& name, const std::string& layout) {
        const std::string path = dir + "/" + name;
        const std::string cmd = "convert " + layout + " -define png:color-type=6 '" + path + "'";
        EXPECT_EQ(0, std::system(cmd.c_str())) << cmd;
        return path;
    }
    std::string dir;
};

// A sprite of the picture, placed at (x, y) one unit in front of the camera.
cSprite placed(const std::string& path, float x, float y) {
    cSprite s;
    s.load(path.c_str());
    s.x = x;
    s.y = y;
    s.z = 1;
    return s;
}

// Draws a sprite on its own, between push and pop, as every owner does.
void drawAlone(cSprite& s) {
    glPushMatrix();
    s.draw();
    glPopMatrix();
}

TEST_F(MediaTexture, SamePathIsLoadedOnceAndShared) {
    const std::string path = picture("once.png", 8, 8);
    const int before = cache().count;
    cTexture* first = cache().getTexture(path.c_str());
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(before + 1, cache().count);
    EXPECT_NE(0u, first->id);

    // Once cached the file is not read again: it may even disappear.
    ASSERT_EQ(0, unlink(path.c_str()));
    EXPECT_EQ(first, cache().getTexture(path.c_str()));
    cSprite s;
    s.load(path.c_str());
    EXPECT_EQ(first, s.texture);
    EXPECT_EQ(before + 1, cache().count);

    picture("pic.png", 4, 4);
    cTexture* plain = cache().getTexture((dir + "/pic.png").c_str());
    EXPECT_NE(plain, cache().getTexture((dir + "/./pic.png").c_str()))
        << "the key is the path text, not the file";
}

TEST_F(MediaTexture, FailedLoadAddsNothingAndIsRetriedLater) {
    const std::string path = dir + "/later.png";
    const std::string broken = dir + "/broken.png";
    testkit::writeFile(broken, "this is not a picture");
    const int before = cache().count;
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_EQ(notFound(path), failureOf(path));
        EXPECT_EQ(notFound(broken), failureOf(broken)) << "unreadable is reported like missing";
        EXPECT_EQ(before, cache().count);
    }
    cSprite s;
    EXPECT_EQ(notFound(path), testkit::thrownText([&] { s.load(path.c_str()); }))
        << "the sprite passes the cache's exception through";
    EXPECT_EQ(nullptr, s.texture);

    picture("later.png", 3, 5);
    cTexture* t = nullptr;
    EXPECT_NO_THROW(t = cache().getTexture(path.c_str()));
    ASSERT_NE(nullptr, t);
    EXPECT_EQ(before + 1, cache().count);
    EXPECT_EQ(3, t->width);
    EXPECT_EQ(5, t->height);
    EXPECT_EQ(t, cache().getTexture(path.c_str()));
}

TEST_F(MediaTexture, BackslashPathsAreOpenedWithSlashesButKeptAsWritten) {
    picture("pic.png", 6, 2);
    const std::string key = dir + "\\pic.png";
    const int before = cache().count;
    cTexture* t = nullptr;
    EXPECT_NO_THROW(t = cache().getTexture(key.c_str()));
    ASSERT_NE(nullptr, t);
    EXPECT_EQ(before + 1, cache().count);
    EXPECT_EQ(key, t->path);
    EXPECT_EQ(6, t->width);
    EXPECT_EQ(t, cache().getTexture(key.c_str()));
    EXPECT_EQ(notFound(dir + "\\gone.png"), failureOf(dir + "\\gone.png"));
}

TEST_F(MediaTexture, FullTableThrowsInsteadOfOverrunning) {
    const std::string path = picture("extra.png", 2, 2);
    const std::string cached = picture("cached.png", 2, 2);
    cTexture* kept = cache().getTexture(cached.c_str());

    // Fill the rest of the table with stand-ins; the next new picture is one too many.
    const int before = cache().count;
    std::vector<cTexture*> fillers;
    while (cache().count < cTextureManager::capacity) {
        cTexture* t = new cTexture();
        std::snprintf(t->path, sizeof t->path, "filler %d", cache().count);
        fillers.push_back(t);
        cache().textures[cache().count++] = t;
    }
    EXPECT_EQ(notFound(path), failureOf(path));
    EXPECT_EQ(cTextureManager::capacity, cache().count);
    EXPECT_EQ(kept, cache().getTexture(cached.c_str())) << "cached pictures are still served";
    EXPECT_EQ(fillers.back(), cache().getTexture(fillers.back()->path));

    for (cTexture* t : fillers) delete t;
    for (int i = before; i < cTextureManager::capacity; ++i) cache().textures[i] = nullptr;
    cache().count = before;
    EXPECT_NO_THROW(cache().getTexture(path.c_str()));
}

TEST(ResFileException, MessageNamesThePath) {
    cResFileException e("data\\sound\\menu.ogg");
    const std::exception& base = e;
    EXPECT_STREQ("File data\\sound\\menu.ogg not found!", base.what());
    const std::string longest(1007, 'p');
    cResFileException big(longest.c_str());
    EXPECT_EQ(notFound(longest), big.what());
}

TEST_F(MediaTexture, SizesAreTheImagesOwnAndHalvesTruncate) {
    const std::string path = picture("odd.png", 101, 55);
    cSprite s;
    s.setWindowOrigin(0.25f, 0.5f);
    s.setAlpha(0.75f);
    s.load(path.c_str());
    EXPECT_EQ(50.0f, s.halfWidth);
    EXPECT_EQ(27.0f, s.halfHeight);
    EXPECT_EQ(0.25f, s.u) << "load leaves the window and alpha alone";
    EXPECT_EQ(0.75f, s.alpha);
    s.setTexture(cache().getTexture(picture("b.png", 7, 33).c_str()));
    EXPECT_EQ(3.0f, s.halfWidth) << "setTexture resizes like load";
    EXPECT_EQ(16.0f, s.halfHeight);

    // Drawn at (200, 200) the quad covers x 150..250, y 173..227.
    s = placed(path, 200, 200);
    testkit::beginFrame();
    drawAlone(s);
    const struct {
        int x, y;
        Rgba colour;
    } probes[] = {{151, 200, kWhite}, {248, 200, kWhite}, {147, 200, kBlack}, {252, 200, kBlack},
                  {200, 174, kWhite}, {200, 225, kWhite}, {200, 170, kBlack}, {200, 230, kBlack}};
    for (const auto& p : probes) EXPECT_TRUE(pixelIs(p.colour, p.x, p.y, 6));
}

TEST_F(MediaTexture, JpegPicturesAreOpaque) {
    const Rgba colour{200, 40, 90, 255};
    const std::string path = picture("photo.jpg", 16, 16, colour);
    std::vector<unsigned char> pixels(16 * 16 * 4, 0);
    cache().getTexture(path.c_str())->bind();
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    for (size_t i = 3; i < pixels.size(); i += 4) ASSERT_EQ(255, pixels[i]) << "texel " << i / 4;

    cSprite s = placed(path, 400, 400);
    testkit::beginFrame();
    drawAlone(s);
    EXPECT_TRUE(pixelIs(colour, 400, 400, 12));
}

TEST_F(MediaTexture, AlphaScalesTheTexturesCoverage) {
    // Sprite alpha times picture alpha: opaque at 0 and 0.5, half-transparent at 0.5.
    const std::string opaque = picture("white.png", 16, 16);
    const std::string half = picture("half.png", 16, 16, Rgba{255, 255, 255, 128});
    const struct {
        const std::string& path;
        float alpha;
        int grey, tolerance;
    } rows[] = {{opaque, 0.0f, 0, 0}, {opaque, 0.5f, 128, 2}, {half, 0.5f, 64, 3}};
    for (const auto& r : rows) {
        cSprite s = placed(r.path, 100, 100);
        s.setAlpha(r.alpha);
        testkit::beginFrame();
        drawAlone(s);
        EXPECT_TRUE(pixelIs(Rgba{r.grey, r.grey, r.grey, 255}, 100, 100, r.tolerance)) << r.alpha;
    }
}

TEST_F(MediaTexture, EachDrawTranslatesRelativeToThePreviousOne) {
    const std::string path = picture("dot.png", 10, 10);
    cSprite body = placed(path, 300, 300);
    cSprite ornament = placed(path, 0, -40);
    ornament.z = 0;
    testkit::beginFrame();
    glPushMatrix();
    body.draw();
    ornament.draw();  // a second sprite lands relative to the first
    glPopMatrix();
    EXPECT_TRUE(pixelIs(kWhite, 300, 300));
    EXPECT_TRUE(pixelIs(kWhite, 300, 260));
    EXPECT_TRUE(pixelIs(kBlack, 0, 0));

    cSprite s = placed(path, 100, 150);
    testkit::beginFrame();
    glPushMatrix();
    s.draw();
    s.draw();  // the same sprite twice lands twice as far
    glPopMatrix();
    EXPECT_TRUE(pixelIs(kWhite, 100, 150));
    EXPECT_TRUE(pixelIs(kWhite, 200, 300));
    EXPECT_TRUE(pixelIs(kBlack, 150, 225));

    GLfloat m[16];
    glPushMatrix();
    glLoadIdentity();
    s.draw();
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    glPopMatrix();
    EXPECT_EQ((std::vector<GLfloat>{100.0f, 150.0f, 1.0f}), std::vector<GLfloat>(m + 12, m + 15))
        << "the translation stays on the matrix after draw returns";
}

TEST_F(MediaTexture, TextureWindowPicksOneColumnAndRepeatsBeyondOne) {
    const std::string columns = composed(
        "columns.png", "-size 16x16 xc:'#ff0000' xc:'#00ff00' xc:'#0000ff' xc:'#ffff00' xc:'#ff00ff' "
                       "xc:'#00ffff' xc:'#808080' +append");
    cSprite s = placed(columns, 500, 400);
    EXPECT_EQ(56.0f, s.halfWidth);
    s.setWindowOrigin(3.0f / 7.0f, 0.0f);
    s.setWindowSize(1.0f / 7.0f, 1.0f);
    s.setHalfSize(50, 50);
    cSprite whole = placed(columns, 200, 600);
    testkit::beginFrame();
    drawAlone(s);
    drawAlone(whole);
    for (int p : {-30, 0, 30}) EXPECT_TRUE(pixelIs(kYellow, 500 + p, 400 + p));
    // The whole image at its own size shows the columns left to right.
    EXPECT_TRUE(pixelIs(kRed, 200 - 56 + 8, 600));
    EXPECT_TRUE(pixelIs(kYellow, 200, 600));
    EXPECT_TRUE(pixelIs(Rgba{128, 128, 128, 255}, 200 + 56 - 8, 600));

    const std::string halves = composed("halves.png", "-size 16x8 xc:'#ff0000' xc:'#0000ff' -append");
    cSprite tiled = placed(halves, 600, 300);
    tiled.setWindowSize(1.0f, 2.0f);
    tiled.setHalfSize(20, 40);  // two copies, each 40 high
    testkit::beginFrame();
    drawAlone(tiled);
    EXPECT_TRUE(pixelIs(kRed, 600, 270));
    EXPECT_TRUE(pixelIs(kBlue, 600, 290));
    EXPECT_TRUE(pixelIs(kRed, 600, 310));
    EXPECT_TRUE(pixelIs(kBlue, 600, 330));
}

TEST_F(MediaTexture, PicturesAreUprightAndUnmirrored) {
    const std::string path = composed("quarters.png",
                                      "\\( -size 32x32 xc:'#ff0000' xc:'#00ff00' +append \\) "
                                      "\\( -size 32x32 xc:'#0000ff' xc:'#ffffff' +append \\) -append");
    cSprite s = placed(path, 300, 300);
    testkit::beginFrame();
    drawAlone(s);
    EXPECT_TRUE(pixelIs(kRed, 284, 284)) << "top left";
    EXPECT_TRUE(pixelIs(kGreen, 316, 284)) << "top right";
    EXPECT_TRUE(pixelIs(kBlue, 284, 316)) << "bottom left";
    EXPECT_TRUE(pixelIs(kWhite, 316, 316)) << "bottom right";
}

TEST_F(MediaTexture, LaterDrawsCoverEarlierOnesAndBareSpritesUseTheLastTexture) {
    cSprite front = placed(picture("r.png", 20, 20, kRed), 700, 500);
    cSprite back = placed(picture("b.png", 20, 20, kBlue), 700, 500);
    back.z = 50;
    cSprite bare;  // no texture: drawn with whatever was bound last
    bare.setHalfSize(10, 10);
    bare.x = 800;
    bare.y = 100;
    bare.z = 1;
    testkit::beginFrame();
    drawAlone(front);
    drawAlone(back);
    drawAlone(bare);
    EXPECT_TRUE(pixelIs(kBlue, 700, 500)) << "whatever the depth";
    EXPECT_TRUE(pixelIs(kBlue, 800, 100));
}

}  // namespace
