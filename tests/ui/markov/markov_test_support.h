#pragma once
// What the Markov window tests share: the box recorder and widget lookup by objectName.

#include <QObject>
#include <QtGlobal>

#include "ui/common/dialog_recorder.h"

namespace wachtrix::testing {

// The child of that name and type; a missing widget ends the test program with its name.
template <class T>
T* Child(const QObject* parent, const char* name) {
    T* found = parent->findChild<T*>(name);
    if (!found) qFatal("no widget %s", name);
    return found;
}

}  // namespace wachtrix::testing
