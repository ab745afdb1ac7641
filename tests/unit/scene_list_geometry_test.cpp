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
    EXPECT_EQ(nullptr, list.get(0));
    cObject** firstBlock = nullptr;
    for (int i = 0; i < 65; ++i) {
        list.add(&probes[i]);
        EXPECT_EQ(32 * (i / 32 + 1), list.capacity) << "after " << i + 1;
        if (i == 31) firstBlock = list.items;
    }
    EXPECT_NE(firstBlock, list.items) << "the array should have been reallocated";
    for (int i = 0; i < 65; ++i) ASSERT_EQ(&probes[i], list.get(i)) << "slot " << i;
    EXPECT_EQ(nullptr, list.get(65));
    EXPECT_EQ(nullptr, list.get(95)) << "allocated but unused slot";
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
        cProbe a(&destroyed), b(&destroyed), c(&destroyed), stranger(&destroyed);
        cObjectList list;
        list.remove(&a);  // from an empty list
        for (cObject* o : {&a, &b, &c, &b, &a}) list.add(o);

        list.remove(&b);
        EXPECT_EQ((std::vector<cObject*>{&a, &c, &b, &a}), contents(list));
        EXPECT_EQ(32, list.capacity) << "removing never shrinks the array";
        list.remove(&a);
        EXPECT_EQ((std::vector<cObject*>{&c, &b, &a}), contents(list));
        list.remove(&a);  // the last slot
        EXPECT_EQ((std::vector<cObject*>{&c, &b}), contents(list));
        EXPECT_EQ(nullptr, list.get(2));
        list.remove(&stranger);
        list.remove(nullptr);
        EXPECT_EQ((std::vector<cObject*>{&c, &b}), contents(list)) << "what is not there changes nothing";
        EXPECT_EQ(0, destroyed) << "the list must not delete removed objects";

        list.add(&a);
        EXPECT_EQ((std::vector<cObject*>{&c, &b, &a}), contents(list));
    }
    EXPECT_EQ(4, destroyed);
}

cMenuButton button(float x, float y, float w, float h) {
    cMenuButton b;
    b.x = x;
    b.y = y;
    b.hitWidth = w;
    b.hitHeight = h;
    return b;
}

TEST(HitTest, EdgesAreInsideAndHalvesAreNotRounded) {
    const struct {
        float x, y, w, h;
        int px, py;
        bool hit;
    } rows[] = {
        // x 80..120, y 190..210: all four edges and the corners are inside
        {100, 200, 40, 20, 100, 200, true}, {100, 200, 40, 20, 80, 200, true},
        {100, 200, 40, 20, 120, 200, true}, {100, 200, 40, 20, 100, 190, true},
        {100, 200, 40, 20, 100, 210, true}, {100, 200, 40, 20, 80, 190, true},
        {100, 200, 40, 20, 120, 210, true}, {100, 200, 40, 20, 79, 200, false},
        {100, 200, 40, 20, 121, 200, false}, {100, 200, 40, 20, 100, 189, false},
        {100, 200, 40, 20, 100, 211, false}, {100, 200, 40, 20, 121, 211, false},
        {100, 200, 40, 20, -100, -200, false},
        // x 90.5..109.5, y 48.5..51.5: columns 91..109 are inside, 90 and 110 are not
        {100, 50, 19, 3, 90, 50, false}, {100, 50, 19, 3, 91, 50, true},
        {100, 50, 19, 3, 109, 50, true}, {100, 50, 19, 3, 110, 50, false},
        {100, 50, 19, 3, 100, 51, true}, {100, 50, 19, 3, 100, 52, false},
        // zero width: only the centre column, and none when the centre is between pixels
        {300, 300, 0, 10, 300, 300, true}, {300, 300, 0, 10, 300, 305, true},
        {300, 300, 0, 10, 299, 300, false}, {300, 300, 0, 10, 301, 300, false},
        {300.5f, 300, 0, 10, 300, 300, false}, {300.5f, 300, 0, 10, 301, 300, false},
        {7, 9, 0, 0, 7, 9, true}, {7, 9, 0, 0, 7, 10, false},
    };
    for (const auto& r : rows)
        EXPECT_EQ(r.hit, hitTest(button(r.x, r.y, r.w, r.h), r.px, r.py))
            << "box at " << r.x << "," << r.y << " size " << r.w << "x" << r.h << ", point " << r.px
            << "," << r.py;

    cMenuButton moved = button(100, 100, 10, 10);  // the object's current position counts
    moved.x = 500;
    EXPECT_FALSE(hitTest(moved, 100, 100));
    EXPECT_TRUE(hitTest(moved, 505, 95));
}

TEST(HorizontalDistance, IsTheAbsoluteDifferenceOfX) {
    cProbe a, b;
    a.x = 100;
    b.x = 350.5f;
    a.y = -1000;
    b.y = 1000;  // y plays no part
    EXPECT_FLOAT_EQ(250.5f, horizontalDistance(a, b));
    EXPECT_FLOAT_EQ(250.5f, horizontalDistance(b, a));
    a.x = -20;
    b.x = 30;
    EXPECT_FLOAT_EQ(50.0f, horizontalDistance(a, b));
    // The difference is a float before the absolute value is taken.
    a.x = 16777216.0f;
    b.x = 1.0f;
    EXPECT_EQ(16777215.0f, horizontalDistance(a, b));
}

}  // namespace
