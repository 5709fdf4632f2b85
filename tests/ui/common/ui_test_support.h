#pragma once
// What the UI tests share: widgets by objectName, closed windows deleted, and expected texts
// kept in data files under tests/data/ui.

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QStringList>
#include <QtGlobal>
#include <exception>

#include "support/data_file.h"

namespace wachtrix::testing {

// The child of that name and type; a missing widget ends the test program with its name.
template <class T>
T* Child(const QObject* parent, const QString& name) {
    T* found = parent->findChild<T*>(name);
    if (!found) qFatal("no %s %s", T::staticMetaObject.className(), qPrintable(name));
    return found;
}

// Windows closed with WA_DeleteOnClose, and objects given deleteLater, are gone afterwards.
inline void DeleteClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The text lines of a section of tests/data/ui/`file`.
inline QStringList DataText(const char* file, const char* section) {
    QStringList lines;
    try {
        for (const std::string& line : SectionText(std::string("ui/") + file, section))
            lines << QString::fromStdString(line);
    } catch (const std::exception& e) {
        qFatal("%s", e.what());
    }
    return lines;
}

}  // namespace wachtrix::testing
