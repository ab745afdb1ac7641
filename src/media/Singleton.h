// A class reachable through one static instance pointer; creating a second
// instance or reaching it before it exists is a fatal assertion.
#pragma once

#include <cassert>
#include <cstdio>
#include <cstdlib>

void singletonAssertFailed(const char* expression, int line);

template <typename T>
class Singleton {
public:
    Singleton() {
        if (ms_singleton) singletonAssertFailed("!ms_singleton", 15);
        ms_singleton = static_cast<T*>(this);
    }
    ~Singleton() { ms_singleton = nullptr; }
    static T& getSingleton() {
        if (!ms_singleton) singletonAssertFailed("ms_singleton", 38);
        return *ms_singleton;
    }
    static T* ms_singleton;
};

template <typename T>
T* Singleton<T>::ms_singleton = nullptr;
