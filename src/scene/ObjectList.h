// An order-keeping, growable array of object pointers; it never owns them.
#pragma once

class cObject;

class cObjectList {
public:
    cObjectList();
    ~cObjectList();
    cObjectList(const cObjectList&) = delete;
    cObjectList& operator=(const cObjectList&) = delete;

    cObject* get(int index) const;
    void add(cObject* object);
    int reserve(int n);
    void remove(cObject* object);

    int capacity;
    int count;
    cObject** items;
};
