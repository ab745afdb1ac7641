// The scene list keeps insertion order, grows 32 slots at a time and never owns
// its objects; a click on a box edge counts as inside.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "scene/Geometry.h"
#include "scene/MenuButton.h"
#include "scene/ObjectList.h"

// The objects live on the stack: a list that deleted them would crash.
TEST(ObjectList, GrowsInStepsOf32AndRemovesTheFirstOccurrenceOnly) {
    std::vector<cMenuButton> o(65);
    std::vector<cObject*> expected, left;
    cObjectList list;
    list.remove(&o[0]);
    for (int i = 0; i < 65; ++i)  // the 33rd slot holds o[1] a second time
        EXPECT_EQ(32 * (i / 32 + 1), (list.add(&o[i == 32 ? 1 : i]), list.capacity)) << "after " << i + 1;
    for (cObject* gone : {&o[1], &o[40], &o[32], &o[0]}) list.remove(gone);  // o[32] is not there
    for (int i = 2; i <= 65; ++i)
        if (i != 40) expected.push_back(i < 65 ? &o[i == 32 ? 1 : i] : nullptr);  // get(count) is null
    for (int i = 0; i <= list.count; ++i) left.push_back(list.get(i));
    EXPECT_EQ(expected, left);
    EXPECT_EQ(96, list.capacity);
}

TEST(Geometry, HitTestEdgesAreInsideAndHorizontalDistanceIgnoresY) {
    const struct { float x, y, w, h; int px, py; bool hit; } rows[] = {
        {100, 200, 40, 20, 80, 190, true}, {100, 200, 40, 20, 120, 210, true}, {100, 200, 40, 20, 79, 200, false},
        {100, 200, 40, 20, 121, 200, false}, {100, 200, 40, 20, 100, 189, false}, {100, 200, 40, 20, 100, 211, false},
        {100, 50, 19, 3, 90, 50, false}, {100, 50, 19, 3, 109, 51, true}, {100, 50, 19, 3, 110, 52, false},
        {300, 300, 0, 10, 300, 305, true}, {300, 300, 0, 10, 301, 300, false}, {300.5f, 300, 0, 10, 300, 300, false}};
    for (const auto& r : rows)
        EXPECT_EQ(r.hit, hitTest(*std::unique_ptr<cMenuButton>(cMenuButton::make(r.x, r.y, 0, r.w, r.h)), r.px, r.py))
            << r.x << "," << r.y << " " << r.w << "x" << r.h << " at " << r.px << "," << r.py;
    const std::unique_ptr<cMenuButton> a(cMenuButton::make(100, -1000, 0, 0, 0)), b(cMenuButton::make(350.5f, 1000, 0, 0, 0));
    EXPECT_EQ((std::vector<float>{250.5f, 250.5f}), (std::vector<float>{horizontalDistance(*a, *b), horizontalDistance(*b, *a)}));
}
