// Pictures reach the screen through the texture cache and the sprite quad;
// these cases draw into a real window and read the pixels back.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_opengl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
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

void run(const std::string& command) { ASSERT_EQ(0, std::system(command.c_str())) << command; }

// Calls getTexture and returns the exception text, or "" when nothing was thrown.
std::string failureOf(const std::string& path) {
    try {
        cache().getTexture(path.c_str());
    } catch (std::exception* e) {
        std::string text = e->what() ? e->what() : "(null)";
        delete e;
        return text;
    }
    return "";
}

::testing::AssertionResult near(Rgba want, Rgba got, int tolerance = 6) {
    if (std::abs(want.r - got.r) <= tolerance && std::abs(want.g - got.g) <= tolerance &&
        std::abs(want.b - got.b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "want (" << want.r << "," << want.g << "," << want.b
                                         << ") got (" << got.r << "," << got.g << "," << got.b << ")";
}

const Rgba kBlack{0, 0, 0, 255};
const Rgba kWhite{255, 255, 255, 255};

class MediaTexture : public ::testing::Test {
protected:
    void SetUp() override {
        testkit::openWindow();
        dir = testkit::tempDir();
    }
    std::string dir;
};

// Draws a sprite on its own, between push and pop, as every owner does.
void drawAlone(cSprite& s) {
    glPushMatrix();
    s.draw();
    glPopMatrix();
}

TEST_F(MediaTexture, SamePathIsLoadedOnceAndShared) {
    const std::string path = dir + "/once.png";
    testkit::writeImage(path, 8, 8, kWhite);
    const int before = cache().count;
    cTexture* first = cache().getTexture(path.c_str());
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(before + 1, cache().count);
    EXPECT_NE(0u, first->id);
    EXPECT_STREQ(path.c_str(), first->path);

    // Once cached the file is not read again: it may even disappear.
    ASSERT_EQ(0, unlink(path.c_str()));
    cTexture* second = cache().getTexture(path.c_str());
    EXPECT_EQ(first, second);
    EXPECT_EQ(before + 1, cache().count);

    cSprite a, b;
    a.load(path.c_str());
    b.load(path.c_str());
    EXPECT_EQ(first, a.texture);
    EXPECT_EQ(first, b.texture);
    EXPECT_EQ(before + 1, cache().count);
}

TEST_F(MediaTexture, OtherSpellingOfOnePathIsAnotherTexture) {
    testkit::writeImage(dir + "/pic.png", 4, 4, kWhite);
    cTexture* plain = cache().getTexture((dir + "/pic.png").c_str());
    cTexture* dotted = cache().getTexture((dir + "/./pic.png").c_str());
    EXPECT_NE(plain, dotted) << "the key is the path text, not the file";
}

TEST_F(MediaTexture, FailedLoadAddsNothingAndIsRetriedLater) {
    const std::string path = dir + "/later.png";
    const int before = cache().count;
    EXPECT_EQ("File " + path + " not found!", failureOf(path));
    EXPECT_EQ(before, cache().count);
    EXPECT_EQ("File " + path + " not found!", failureOf(path));
    EXPECT_EQ(before, cache().count);

    testkit::writeImage(path, 3, 5, kWhite);
    cTexture* t = nullptr;
    EXPECT_NO_THROW(t = cache().getTexture(path.c_str()));
    ASSERT_NE(nullptr, t);
    EXPECT_EQ(before + 1, cache().count);
    EXPECT_EQ(3, t->width);
    EXPECT_EQ(5, t->height);
    EXPECT_EQ(t, cache().getTexture(path.c_str()));
}

TEST_F(MediaTexture, UnreadableImageIsReportedLikeAMissingOne) {
    const std::string path = dir + "/broken.png";
    testkit::writeFile(path, "this is not a picture");
    const int before = cache().count;
    EXPECT_EQ("File " + path + " not found!", failureOf(path));
    EXPECT_EQ(before, cache().count);
}

TEST_F(MediaTexture, SpriteLoadPassesTheCacheExceptionThrough) {
    cSprite s;
    const std::string path = dir + "/nothing.png";
    try {
        s.load(path.c_str());
        FAIL() << "no exception";
    } catch (cResFileException* e) {
        EXPECT_STREQ(("File " + path + " not found!").c_str(), e->what());
        delete e;
    }
    EXPECT_EQ(nullptr, s.texture);
}

TEST_F(MediaTexture, BackslashPathsAreOpenedWithSlashesButKeptAsWritten) {
    ASSERT_EQ(0, mkdir((dir + "/data").c_str(), 0755));
    ASSERT_EQ(0, mkdir((dir + "/data/graphics").c_str(), 0755));
    testkit::writeImage(dir + "/data/graphics/pic.png", 6, 2, kWhite);
    char old[4096];
    ASSERT_NE(nullptr, getcwd(old, sizeof old));
    ASSERT_EQ(0, chdir(dir.c_str()));

    const char* key = "data\\graphics\\pic.png";
    const int before = cache().count;
    cTexture* t = nullptr;
    EXPECT_NO_THROW(t = cache().getTexture(key));
    EXPECT_EQ(before + 1, cache().count);
    if (t) {
        EXPECT_STREQ(key, t->path);
        EXPECT_EQ(6, t->width);
        EXPECT_EQ(t, cache().getTexture(key));
    }
    EXPECT_EQ("File data\\graphics\\gone.png not found!", failureOf("data\\graphics\\gone.png"));

    ASSERT_EQ(0, chdir(old));
}

TEST_F(MediaTexture, FullTableThrowsInsteadOfOverrunning) {
    const std::string path = dir + "/extra.png";
    testkit::writeImage(path, 2, 2, kWhite);
    const std::string cached = dir + "/cached.png";
    testkit::writeImage(cached, 2, 2, kWhite);
    cTexture* kept = cache().getTexture(cached.c_str());

    // Fill the rest of the table with stand-ins.
    const int before = cache().count;
    std::vector<cTexture*> fillers;
    while (cache().count < cTextureManager::capacity) {
        cTexture* t = new cTexture();
        std::snprintf(t->path, sizeof t->path, "filler %d", cache().count);
        fillers.push_back(t);
        cache().textures[cache().count++] = t;
    }
    EXPECT_EQ("File " + path + " not found!", failureOf(path));
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
    EXPECT_STREQ("File data\\sound\\menu.ogg not found!", e.what());
    const std::exception& base = e;
    EXPECT_STREQ("File data\\sound\\menu.ogg not found!", base.what());

    const std::string longest(1007, 'p');
    cResFileException big(longest.c_str());
    EXPECT_EQ("File " + longest + " not found!", std::string(big.what()));
}

TEST_F(MediaTexture, SizesAreTheImagesOwnAndHalvesTruncate) {
    const std::string path = dir + "/odd.png";
    testkit::writeImage(path, 101, 55, kWhite);
    cSprite s;
    s.setWindowOrigin(0.25f, 0.5f);
    s.setAlpha(0.75f);
    s.x = 3;
    s.load(path.c_str());
    ASSERT_NE(nullptr, s.texture);
    EXPECT_EQ(101, s.texture->width);
    EXPECT_EQ(55, s.texture->height);
    EXPECT_EQ(50.0f, s.halfWidth);
    EXPECT_EQ(27.0f, s.halfHeight);
    // load leaves window, alpha and position alone
    EXPECT_EQ(0.25f, s.u);
    EXPECT_EQ(0.5f, s.v);
    EXPECT_EQ(0.75f, s.alpha);
    EXPECT_EQ(3.0f, s.x);

    // Drawn at (200, 200) the quad covers x 150..250, y 173..227.
    s = cSprite();
    s.load(path.c_str());
    s.x = 200;
    s.y = 200;
    s.z = 1;
    testkit::beginFrame();
    drawAlone(s);
    EXPECT_TRUE(near(kWhite, testkit::readPixel(151, 200)));
    EXPECT_TRUE(near(kWhite, testkit::readPixel(248, 200)));
    EXPECT_TRUE(near(kBlack, testkit::readPixel(147, 200)));
    EXPECT_TRUE(near(kBlack, testkit::readPixel(252, 200)));
    EXPECT_TRUE(near(kWhite, testkit::readPixel(200, 174)));
    EXPECT_TRUE(near(kWhite, testkit::readPixel(200, 225)));
    EXPECT_TRUE(near(kBlack, testkit::readPixel(200, 170)));
    EXPECT_TRUE(near(kBlack, testkit::readPixel(200, 230)));
}

TEST_F(MediaTexture, SetTextureResizesLikeLoad) {
    const std::string a = dir + "/a.png", b = dir + "/b.png";
    testkit::writeImage(a, 20, 10, kWhite);
    testkit::writeImage(b, 7, 33, kWhite);
    cSprite s;
    s.load(a.c_str());
    s.setTexture(cache().getTexture(b.c_str()));
    EXPECT_EQ(3.0f, s.halfWidth);
    EXPECT_EQ(16.0f, s.halfHeight);
}

TEST_F(MediaTexture, JpegPicturesAreOpaque) {
    const std::string path = dir + "/photo.jpg";
    testkit::writeImage(path, 16, 16, Rgba{200, 40, 90, 255});
    cTexture* t = cache().getTexture(path.c_str());
    ASSERT_NE(nullptr, t);

    std::vector<unsigned char> pixels(16 * 16 * 4, 0);
    t->bind();
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    for (size_t i = 3; i < pixels.size(); i += 4) ASSERT_EQ(255, pixels[i]) << "texel " << i / 4;

    cSprite s;
    s.load(path.c_str());
    s.x = 400;
    s.y = 400;
    s.z = 1;
    testkit::beginFrame();
    drawAlone(s);
    EXPECT_TRUE(near(Rgba{200, 40, 90, 255}, testkit::readPixel(400, 400), 12));
}

TEST_F(MediaTexture, AlphaScalesTheTexturesCoverage) {
    const std::string path = dir + "/white.png";
    testkit::writeImage(path, 16, 16, kWhite);
    cSprite s;
    s.load(path.c_str());
    s.x = 100;
    s.y = 100;
    s.z = 1;

    testkit::beginFrame();
    s.setAlpha(0.0f);
    drawAlone(s);
    EXPECT_TRUE(near(kBlack, testkit::readPixel(100, 100), 0));

    testkit::beginFrame();
    s.setAlpha(0.5f);
    drawAlone(s);
    EXPECT_TRUE(near(Rgba{128, 128, 128, 255}, testkit::readPixel(100, 100), 2));

    // A half-transparent picture at alpha 0.5 covers a quarter.
    const std::string half = dir + "/half.png";
    testkit::writeImage(half, 16, 16, Rgba{255, 255, 255, 128});
    cSprite h;
    h.load(half.c_str());
    h.x = 300;
    h.y = 300;
    h.z = 1;
    h.setAlpha(0.5f);
    testkit::beginFrame();
    drawAlone(h);
    EXPECT_TRUE(near(Rgba{64, 64, 64, 255}, testkit::readPixel(300, 300), 3));
}

TEST_F(MediaTexture, SecondDrawWithoutResetIsOffsetTwice) {
    const std::string path = dir + "/dot.png";
    testkit::writeImage(path, 10, 10, kWhite);
    cSprite s;
    s.load(path.c_str());
    s.x = 100;
    s.y = 150;
    s.z = 1;
    testkit::beginFrame();
    glPushMatrix();
    s.draw();
    s.draw();
    glPopMatrix();
    EXPECT_TRUE(near(kWhite, testkit::readPixel(100, 150)));
    EXPECT_TRUE(near(kWhite, testkit::readPixel(200, 300)));
    EXPECT_TRUE(near(kBlack, testkit::readPixel(150, 225)));

    // The translation stays on the matrix after draw returns.
    GLfloat m[16];
    glPushMatrix();
    glLoadIdentity();
    s.draw();
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    glPopMatrix();
    EXPECT_FLOAT_EQ(100.0f, m[12]);
    EXPECT_FLOAT_EQ(150.0f, m[13]);
    EXPECT_FLOAT_EQ(1.0f, m[14]);
}

TEST_F(MediaTexture, SecondSpriteIsPlacedRelativeToTheFirst) {
    const std::string path = dir + "/dot2.png";
    testkit::writeImage(path, 10, 10, kWhite);
    cSprite body, ornament;
    body.load(path.c_str());
    ornament.load(path.c_str());
    body.x = 300;
    body.y = 300;
    body.z = 1;
    ornament.x = 0;
    ornament.y = -40;
    ornament.z = 0;
    testkit::beginFrame();
    glPushMatrix();
    body.draw();
    ornament.draw();
    glPopMatrix();
    EXPECT_TRUE(near(kWhite, testkit::readPixel(300, 300)));
    EXPECT_TRUE(near(kWhite, testkit::readPixel(300, 260)));
    EXPECT_TRUE(near(kBlack, testkit::readPixel(0, 0)));
}

TEST_F(MediaTexture, TextureWindowPicksOneColumn) {
    const std::string path = dir + "/columns.png";
    run("convert -size 16x16 xc:'#ff0000' xc:'#00ff00' xc:'#0000ff' xc:'#ffff00' xc:'#ff00ff' "
        "xc:'#00ffff' xc:'#808080' +append -define png:color-type=6 '" + path + "'");
    cSprite s;
    s.load(path.c_str());
    EXPECT_EQ(56.0f, s.halfWidth);
    s.setWindowOrigin(3.0f / 7.0f, 0.0f);
    s.setWindowSize(1.0f / 7.0f, 1.0f);
    s.setHalfSize(50, 50);
    s.x = 500;
    s.y = 400;
    s.z = 1;
    testkit::beginFrame();
    drawAlone(s);
    const Rgba yellow{255, 255, 0, 255};
    EXPECT_TRUE(near(yellow, testkit::readPixel(500, 400), 10));
    EXPECT_TRUE(near(yellow, testkit::readPixel(470, 370), 10));
    EXPECT_TRUE(near(yellow, testkit::readPixel(530, 430), 10));

    // The whole image at its own size shows the columns left to right.
    cSprite whole;
    whole.load(path.c_str());
    whole.x = 200;
    whole.y = 600;
    whole.z = 1;
    testkit::beginFrame();
    drawAlone(whole);
    EXPECT_TRUE(near(Rgba{255, 0, 0, 255}, testkit::readPixel(200 - 56 + 8, 600), 10));
    EXPECT_TRUE(near(yellow, testkit::readPixel(200, 600), 10));
    EXPECT_TRUE(near(Rgba{128, 128, 128, 255}, testkit::readPixel(200 + 56 - 8, 600), 10));
}

TEST_F(MediaTexture, WindowBeyondOneRepeatsThePicture) {
    const std::string path = dir + "/halves.png";
    run("convert -size 16x8 xc:'#ff0000' xc:'#0000ff' -append -define png:color-type=6 '" + path + "'");
    cSprite s;
    s.load(path.c_str());
    s.setWindowSize(1.0f, 2.0f);
    s.setHalfSize(20, 40);  // two copies, each 40 high
    s.x = 600;
    s.y = 300;
    s.z = 1;
    testkit::beginFrame();
    drawAlone(s);
    const Rgba red{255, 0, 0, 255}, blue{0, 0, 255, 255};
    EXPECT_TRUE(near(red, testkit::readPixel(600, 300 - 30), 10));
    EXPECT_TRUE(near(blue, testkit::readPixel(600, 300 - 10), 10));
    EXPECT_TRUE(near(red, testkit::readPixel(600, 300 + 10), 10));
    EXPECT_TRUE(near(blue, testkit::readPixel(600, 300 + 30), 10));
}

TEST_F(MediaTexture, PicturesAreUprightAndUnmirrored) {
    const std::string path = dir + "/quarters.png";
    run("convert \\( -size 32x32 xc:'#ff0000' xc:'#00ff00' +append \\) "
        "\\( -size 32x32 xc:'#0000ff' xc:'#ffffff' +append \\) -append -define png:color-type=6 '" +
        path + "'");
    cSprite s;
    s.load(path.c_str());
    s.x = 300;
    s.y = 300;
    s.z = 1;
    testkit::beginFrame();
    drawAlone(s);
    EXPECT_TRUE(near(Rgba{255, 0, 0, 255}, testkit::readPixel(284, 284), 10)) << "top left";
    EXPECT_TRUE(near(Rgba{0, 255, 0, 255}, testkit::readPixel(316, 284), 10)) << "top right";
    EXPECT_TRUE(near(Rgba{0, 0, 255, 255}, testkit::readPixel(284, 316), 10)) << "bottom left";
    EXPECT_TRUE(near(kWhite, testkit::readPixel(316, 316), 10)) << "bottom right";
}

TEST_F(MediaTexture, LaterDrawsCoverEarlierOnesWhateverTheirDepth) {
    const std::string red = dir + "/r.png", blue = dir + "/b.png";
    testkit::writeImage(red, 20, 20, Rgba{255, 0, 0, 255});
    testkit::writeImage(blue, 20, 20, Rgba{0, 0, 255, 255});
    cSprite near1, far1;
    near1.load(red.c_str());
    far1.load(blue.c_str());
    near1.x = far1.x = 700;
    near1.y = far1.y = 500;
    near1.z = 1;
    far1.z = 50;
    testkit::beginFrame();
    drawAlone(near1);
    drawAlone(far1);
    EXPECT_TRUE(near(Rgba{0, 0, 255, 255}, testkit::readPixel(700, 500)));
}

TEST_F(MediaTexture, SpriteWithoutTextureUsesTheLastBound) {
    const std::string green = dir + "/g.png";
    testkit::writeImage(green, 4, 4, Rgba{0, 255, 0, 255});
    cSprite withTexture;
    withTexture.load(green.c_str());
    withTexture.x = 50;
    withTexture.y = 50;
    withTexture.z = 1;
    cSprite bare;
    EXPECT_EQ(nullptr, bare.texture);
    EXPECT_EQ(1.0f, bare.halfWidth);
    bare.setHalfSize(10, 10);
    bare.x = 800;
    bare.y = 100;
    bare.z = 1;
    testkit::beginFrame();
    drawAlone(withTexture);
    drawAlone(bare);
    EXPECT_TRUE(near(Rgba{0, 255, 0, 255}, testkit::readPixel(800, 100)));
}

}  // namespace
