#include "scene/ObjectList.h"

#include <cstring>
#include <new>

cObjectList::cObjectList() : capacity(0), count(0), items(nullptr) {}

cObjectList::~cObjectList() { delete[] items; }

cObject* cObjectList::get(int index) const {
    return index >= 0 && index < count ? items[index] : nullptr;
}

void cObjectList::add(cObject* object) {
    // When the array cannot grow the object is not added.
    if (count == capacity && reserve(capacity + 32) != 0) return;
    items[count++] = object;
}

int cObjectList::reserve(int n) {
    if (n <= capacity) return 0;
    cObject** grown = new (std::nothrow) cObject*[n];
    if (!grown) return -1;
    if (count) std::memcpy(grown, items, sizeof(cObject*) * count);
    delete[] items;
    items = grown;
    capacity = n;
    return 0;
}

void cObjectList::remove(cObject* object) {
    for (int i = 0; i < count; ++i) {
        if (items[i] != object) continue;
        std::memmove(items + i, items + i + 1, sizeof(cObject*) * (count - i - 1));
        --count;
        return;
    }
}
