// The name entry box: typing, the seventh letter, and rubbing out.
#include <gtest/gtest.h>

#include <string>

#include "TestKit.h"
#include "frontend/NameBox.h"

namespace {

class NameBoxTest : public ::testing::Test {
protected:
    void SetUp() override { testkit::useHeadlessTextures(); }
    void type(cNameBox& box, const std::string& letters) {
        for (char c : letters) box.addChar(c);
    }
};

TEST_F(NameBoxTest, TypingTable) {
    cNameBox box;
    EXPECT_STREQ(box.entry.name, "       ") << "starts as seven spaces";
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

}  // namespace
