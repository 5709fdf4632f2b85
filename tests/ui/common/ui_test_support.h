#pragma once
// What the UI tests share: widgets by objectName, closed windows deleted, and expected texts
// kept in data files under tests/data/ui.

#include <QByteArray>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QObject>
#include <QStringList>
#include <QtGlobal>

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

// The lines of a section of tests/data/ui/`file`; a missing section ends the test program.
inline QStringList DataText(const char* file, const char* section) {
    const DataSections sections = ReadDataFile(std::string("ui/") + file);
    const auto found = sections.find(section);
    if (found == sections.end()) qFatal("no section [%s] in tests/data/ui/%s", section, file);
    QStringList lines;
    for (const DataLine& line : found->second)
        lines << QString::fromStdString(line.text);
    return lines;
}

// The rows of a table section, each split into its fields at " | " (blanks within a field
// kept); "-" is an empty field.
inline QList<QStringList> DataRows(const char* file, const char* section) {
    QList<QStringList> rows;
    for (const QString& line : DataText(file, section)) {
        QStringList fields = line.split(" | ");
        for (QString& field : fields)
            if (field == "-") field.clear();
        rows << fields;
    }
    return rows;
}

// A file's bytes, none when it cannot be read.
inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A whole PDF file: its header, and its end-of-file mark after the cross references.
inline bool IsPdf(const QString& path) {
    const QByteArray bytes = ReadBytes(path);
    return bytes.startsWith("%PDF-1.") && bytes.trimmed().endsWith("%%EOF") &&
           bytes.contains("startxref") && bytes.size() > 500;
}

}  // namespace wachtrix::testing
