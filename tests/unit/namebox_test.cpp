// The name entry box: the typing table, the typing mark and how the box is drawn.
#include <gtest/gtest.h>

#include <string>

#include "TestKit.h"
#include "frontend/NameBox.h"
#include "media/BitmapFont.h"

namespace {

class NameBoxTest : public ::testing::Test {
protected:
    void SetUp() override { testkit::useHeadlessTextures(); }
    void type(cNameBox& box, const std::string& letters) {
        for (char c : letters) box.addChar(c);
    }
};

TEST_F(NameBoxTest, StartsAsSevenSpaces) {
    cNameBox box;
    EXPECT_EQ(box.length, 0);
    EXPECT_STREQ(box.entry.name, "       ");
    EXPECT_EQ(box.entry.score, 0u);
    ASSERT_NE(box.font, nullptr);
    EXPECT_DOUBLE_EQ(box.font->scale, 0.75);
    EXPECT_EQ(box.font->alignX, -1);
    EXPECT_EQ(box.font->alignY, 0);
}

TEST_F(NameBoxTest, TypingTable) {
    cNameBox box;
    type(box, "ABCDEF");
    EXPECT_EQ(box.length, 6);
    EXPECT_STREQ(box.entry.name, "ABCDEF ");
    type(box, "G");
    EXPECT_EQ(box.length, 6);
    EXPECT_STREQ(box.entry.name, "ABCDEFG");
    type(box, "HI");  // the seventh letter is replaced
    EXPECT_STREQ(box.entry.name, "ABCDEFI");
    box.removeChar();
    EXPECT_EQ(box.length, 6);
    EXPECT_STREQ(box.entry.name, "ABCDEF ");
    box.removeChar();
    EXPECT_EQ(box.length, 5);
    EXPECT_STREQ(box.entry.name, "ABCDE  ");
    for (int i = 0; i < 9; ++i) box.removeChar();
    EXPECT_EQ(box.length, 0);
    EXPECT_STREQ(box.entry.name, "       ");
}

TEST_F(NameBoxTest, FollowsItsPosition) {
    cNameBox box;
    box.x = 512.0f;
    box.y = 250.0f;
    box.z = 8.0f;
    box.update(60.0f);
    EXPECT_FLOAT_EQ(box.sprite.x, 512.0f);
    EXPECT_FLOAT_EQ(box.sprite.y, 250.0f);
    EXPECT_FLOAT_EQ(box.sprite.z, 8.0f);
}

}  // namespace
