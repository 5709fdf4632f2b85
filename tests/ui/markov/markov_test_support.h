#pragma once
// What the Markov window tests share: the Dialogs responder that records every box, and
// widget lookup by objectName.

#include <QObject>
#include <QString>
#include <QtGlobal>
#include <vector>

#include "ui/common/dialogs.h"

namespace wachtrix::testing {

// Answers every box with `answer` and keeps what was asked; restores the real boxes when gone.
class RecordedDialogs {
public:
    RecordedDialogs() {
        ui::Dialogs::setResponder([this](const ui::DialogRequest& request) {
            requests.push_back(request);
            return answer;
        });
        ui::Dialogs::setFileResponder([this](const ui::FileDialogRequest& request) {
            fileRequests.push_back(request);
            return fileName;
        });
    }
    ~RecordedDialogs() {
        ui::Dialogs::setResponder({});
        ui::Dialogs::setFileResponder({});
    }
    RecordedDialogs(const RecordedDialogs&) = delete;
    RecordedDialogs& operator=(const RecordedDialogs&) = delete;

    QStringList texts() const {
        QStringList all;
        for (const auto& r : requests)
            all << r.text;
        return all;
    }

    ui::DialogButton answer = ui::DialogButton::Ok;
    QString fileName;  // what the file dialog "chooses"; empty is Cancel
    std::vector<ui::DialogRequest> requests;
    std::vector<ui::FileDialogRequest> fileRequests;
};

// The child of that name and type; a missing widget ends the test program with its name.
template <class T>
T* Child(const QObject* parent, const char* name) {
    T* found = parent->findChild<T*>(name);
    if (!found) qFatal("no widget %s", name);
    return found;
}

}  // namespace wachtrix::testing
