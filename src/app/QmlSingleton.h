#pragma once

#include "sources/Registered.h"

#include <QJSEngine>

// What a QML singleton's create() returns: the instance the program registered, which
// stays C++'s to delete.
template <typename T> T *registeredForQml()
{
    T *instance = Registered<T>::get();
    QJSEngine::setObjectOwnership(instance, QJSEngine::CppOwnership);
    return instance;
}
