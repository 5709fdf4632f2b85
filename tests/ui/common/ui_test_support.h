#pragma once
// What the UI tests share: widgets by objectName, closed windows deleted, the program's boxes
// answered, and expected texts kept in data files under tests/data/ui.

#include <QByteArray>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTest>
#include <QtGlobal>
#include <initializer_list>

#include "support/data_file.h"
#include "ui/common/dialogs.h"

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

// A table section as Qt Test data: one column "row" with the fields, each row named by its first
// field; the test takes it with QFETCH(QStringList, row).
inline void AddDataRows(const char* file, const char* section) {
    QTest::addColumn<QStringList>("row");
    for (const QStringList& fields : DataRows(file, section))
        QTest::newRow(qPrintable(fields.at(0))) << fields;
}

// Qt Test data of rows named by `tags` alone: the int column `name` holds each row's place among
// them, AddTagRows("way", {"menu", "close box"}) giving way 0 and 1.
inline void AddTagRows(const char* name, std::initializer_list<const char*> tags) {
    QTest::addColumn<int>(name);
    int place = 0;
    for (const char* tag : tags)
        QTest::newRow(tag) << place++;
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

// Answers the program's message boxes and file dialogs and keeps what was asked. Answers are
// given in advance; a box nobody answered gets No (a question) or OK (anything else), and a file
// dialog gets `fileName` (empty is Cancel) typed under the file type `fileFilter` (empty: the
// first).
class DialogRecorder {
public:
    DialogRecorder() {
        ui::Dialogs::setResponder([this](const ui::DialogRequest& request) {
            requests.append(request);
            if (!answers.isEmpty()) return answers.takeFirst();
            const bool question = request.kind == ui::DialogKind::Confirm ||
                                  request.kind == ui::DialogKind::DutchConfirm;
            return question ? ui::DialogButton::No : ui::DialogButton::Ok;
        });
        ui::Dialogs::setFileResponder([this](const ui::FileDialogRequest& request) {
            fileRequests.append(request);
            return ui::FileChoice{fileName, fileFilter};
        });
    }
    ~DialogRecorder() {
        ui::Dialogs::setResponder({});
        ui::Dialogs::setFileResponder({});
    }
    DialogRecorder(const DialogRecorder&) = delete;
    DialogRecorder& operator=(const DialogRecorder&) = delete;

    void answer(ui::DialogButton button) { answers.append(button); }
    QStringList texts() const {
        QStringList all;
        for (const auto& r : requests)
            all << r.text;
        return all;
    }

    QList<ui::DialogRequest> requests;
    QList<ui::DialogButton> answers;
    QString fileName;
    QString fileFilter;
    QList<ui::FileDialogRequest> fileRequests;
};

}  // namespace wachtrix::testing
