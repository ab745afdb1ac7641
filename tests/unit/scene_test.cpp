// The scene list keeps insertion order, grows 32 slots at a time and never owns
// its objects. (Click areas are tried where they act: the menu's buttons at
// their edges, the retry box's at its drawn highlights; the spacing of new
// bricks tries the horizontal distance.)
#include <gtest/gtest.h>

#include <vector>

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
