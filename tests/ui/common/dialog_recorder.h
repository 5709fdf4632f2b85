#pragma once
// Answers the program's message boxes and file dialogs in the UI tests and keeps what was asked.
// Answers are given in advance; a box nobody answered gets No (a question) or OK (anything
// else), and a file dialog gets `fileName` (empty is Cancel) typed under the file type
// `fileFilter` (empty: the first).

#include <QList>
#include <QStringList>

#include "ui/common/dialogs.h"

namespace wachtrix::testing {

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
