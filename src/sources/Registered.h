#pragma once

// The one instance of T the program registered at start (a test registers its own), for
// what is made by QML and so cannot be handed it through a constructor: the QML singletons'
// create() and items that QML makes.
template <typename T> class Registered {
public:
    static void set(T *instance) { s_instance = instance; }
    static T *get() { return s_instance; }

private:
    static inline T *s_instance = nullptr;
};
