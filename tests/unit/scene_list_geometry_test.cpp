// The scene list keeps insertion order as it grows and never owns its
// objects; the click test counts box edges as inside.
#include <gtest/gtest.h>

#include <vector>

#include "scene/Geometry.h"
#include "scene/MenuButton.h"
#include "scene/Object.h"
#include "scene/ObjectList.h"

namespace {

// Counts its own destruction so a test can see that the list never deletes.
class cProbe : public cObject {
public:
    explicit cProbe(int* destroyed = nullptr) : destroyed(destroyed) {}
    ~cProbe() override {
        if (destroyed) ++*destroyed;
    }
    void update(float) override {}
    void draw() override {}
    int* destroyed;
};

std::vector<cObject*> contents(const cObjectList& list) {
    std::vector<cObject*> out;
    for (int i = 0; i < list.count; ++i) out.push_back(list.get(i));
    return out;
}

TEST(ObjectList, GrowsInStepsOf32AndKeepsOrder) {
    std::vector<cProbe> probes(70);
    cObjectList list;
    EXPECT_EQ(0, list.capacity);
    EXPECT_EQ(0, list.count);
    EXPECT_EQ(nullptr, list.get(0));

    for (int i = 0; i < 32; ++i) list.add(&probes[i]);
    EXPECT_EQ(32, list.capacity);
    EXPECT_EQ(32, list.count);
    cObject** firstBlock = list.items;

    list.add(&probes[32]);
    EXPECT_EQ(64, list.capacity);
    EXPECT_EQ(33, list.count);
    EXPECT_NE(firstBlock, list.items) << "the array should have been reallocated";
    for (int i = 0; i < 33; ++i) EXPECT_EQ(&probes[i], list.get(i)) << "slot " << i;

    for (int i = 33; i < 65; ++i) list.add(&probes[i]);
    EXPECT_EQ(96, list.capacity);
    EXPECT_EQ(65, list.count);
    for (int i = 0; i < 65; ++i) ASSERT_EQ(&probes[i], list.get(i)) << "slot " << i;
}

TEST(ObjectList, GetOutsideTheFilledSlotsIsNull) {
    cProbe a, b;
    cObjectList list;
    list.add(&a);
    list.add(&b);
    EXPECT_EQ(&b, list.get(1));
    EXPECT_EQ(nullptr, list.get(list.count));
    EXPECT_EQ(nullptr, list.get(31)) << "allocated but unused slot";
    EXPECT_EQ(nullptr, list.get(1000));
}

TEST(ObjectList, ReserveOnlyGrowsAndKeepsContents) {
    cProbe a, b, c;
    cObjectList list;
    list.add(&a);
    list.add(&b);
    EXPECT_EQ(0, list.reserve(10));
    EXPECT_EQ(32, list.capacity) << "a smaller request leaves the array alone";
    EXPECT_EQ(0, list.reserve(40));
    EXPECT_EQ(40, list.capacity);
    list.add(&c);
    EXPECT_EQ((std::vector<cObject*>{&a, &b, &c}), contents(list));
}

TEST(ObjectList, RemoveTakesOnlyTheFirstOccurrenceAndKeepsOrder) {
    int destroyed = 0;
    {
        cProbe a(&destroyed), b(&destroyed), c(&destroyed);
        cObjectList list;
        list.add(&a);
        list.add(&b);
        list.add(&c);
        list.add(&b);
        list.add(&a);

        list.remove(&b);
        EXPECT_EQ((std::vector<cObject*>{&a, &c, &b, &a}), contents(list));
        EXPECT_EQ(32, list.capacity) << "removing never shrinks the array";

        list.remove(&a);
        EXPECT_EQ((std::vector<cObject*>{&c, &b, &a}), contents(list));

        list.remove(&a);  // the last slot
        EXPECT_EQ((std::vector<cObject*>{&c, &b}), contents(list));
        EXPECT_EQ(nullptr, list.get(2));
        EXPECT_EQ(0, destroyed) << "the list must not delete removed objects";

        list.add(&a);
        EXPECT_EQ((std::vector<cObject*>{&c, &b, &a}), contents(list));
    }
    EXPECT_EQ(3, destroyed);
}

TEST(ObjectList, RemovingWhatIsNotThereChangesNothing) {
    cProbe a, b, stranger;
    cObjectList empty;
    empty.remove(&a);
    empty.remove(nullptr);
    EXPECT_EQ(0, empty.count);

    cObjectList list;
    list.add(&a);
    list.add(&b);
    list.remove(&stranger);
    list.remove(nullptr);
    EXPECT_EQ((std::vector<cObject*>{&a, &b}), contents(list));
}

cMenuButton button(float x, float y, float w, float h) {
    cMenuButton b;
    b.x = x;
    b.y = y;
    b.hitWidth = w;
    b.hitHeight = h;
    return b;
}

TEST(HitTest, AllFourEdgesAreInside) {
    const cMenuButton b = button(100, 200, 40, 20);  // x 80..120, y 190..210
    EXPECT_TRUE(hitTest(b, 100, 200));
    EXPECT_TRUE(hitTest(b, 80, 200));
    EXPECT_TRUE(hitTest(b, 120, 200));
    EXPECT_TRUE(hitTest(b, 100, 190));
    EXPECT_TRUE(hitTest(b, 100, 210));
    EXPECT_TRUE(hitTest(b, 80, 190));
    EXPECT_TRUE(hitTest(b, 120, 210));

    EXPECT_FALSE(hitTest(b, 79, 200));
    EXPECT_FALSE(hitTest(b, 121, 200));
    EXPECT_FALSE(hitTest(b, 100, 189));
    EXPECT_FALSE(hitTest(b, 100, 211));
    EXPECT_FALSE(hitTest(b, 121, 211));
    EXPECT_FALSE(hitTest(b, -100, -200));
}

TEST(HitTest, OddSizesUseTheHalfWithoutRounding) {
    // x 90.5..109.5: the pixel columns 91..109 are inside, 90 and 110 are not.
    const cMenuButton b = button(100, 50, 19, 3);
    EXPECT_FALSE(hitTest(b, 90, 50));
    EXPECT_TRUE(hitTest(b, 91, 50));
    EXPECT_TRUE(hitTest(b, 109, 50));
    EXPECT_FALSE(hitTest(b, 110, 50));
    EXPECT_TRUE(hitTest(b, 100, 51));
    EXPECT_FALSE(hitTest(b, 100, 52));
}

TEST(HitTest, ZeroWidthBoxIsHitOnlyOnItsCentreColumn) {
    const cMenuButton b = button(300, 300, 0, 10);
    EXPECT_TRUE(hitTest(b, 300, 300));
    EXPECT_TRUE(hitTest(b, 300, 305));
    EXPECT_FALSE(hitTest(b, 299, 300));
    EXPECT_FALSE(hitTest(b, 301, 300));

    const cMenuButton between = button(300.5f, 300, 0, 10);
    for (int px = 295; px <= 305; ++px) EXPECT_FALSE(hitTest(between, px, 300)) << px;

    const cMenuButton point = button(7, 9, 0, 0);
    EXPECT_TRUE(hitTest(point, 7, 9));
    EXPECT_FALSE(hitTest(point, 7, 10));
}

TEST(HitTest, UsesTheObjectsCurrentPosition) {
    cMenuButton b = button(100, 100, 10, 10);
    EXPECT_TRUE(hitTest(b, 100, 100));
    b.x = 500;
    EXPECT_FALSE(hitTest(b, 100, 100));
    EXPECT_TRUE(hitTest(b, 505, 95));
}

TEST(HorizontalDistance, IsTheAbsoluteDifferenceOfX) {
    cProbe a, b;
    a.x = 100;
    b.x = 350.5f;
    a.y = -1000;
    b.y = 1000;
    EXPECT_FLOAT_EQ(250.5f, horizontalDistance(a, b));
    EXPECT_FLOAT_EQ(250.5f, horizontalDistance(b, a));
    b.x = 100;
    EXPECT_FLOAT_EQ(0.0f, horizontalDistance(a, b)) << "y plays no part";
    a.x = -20;
    b.x = 30;
    EXPECT_FLOAT_EQ(50.0f, horizontalDistance(a, b));
    // The difference is a float before the absolute value is taken.
    a.x = 16777216.0f;
    b.x = 1.0f;
    EXPECT_EQ(16777215.0f, horizontalDistance(a, b));
}

TEST(Object, BaseStartsAtTheOriginWithNoPlatformRole) {
    cProbe p;
    EXPECT_EQ(0, p.kind);
    EXPECT_EQ(0.0f, p.x);
    EXPECT_EQ(0.0f, p.y);
    EXPECT_EQ(0.0f, p.z);
    EXPECT_EQ(0.0f, p.moveFactor);
}

}  // namespace
