#pragma once
// Answers the program's message boxes in the UI tests and keeps what was asked. Answers are
// given in advance; a box nobody answered gets No (a question) or OK (anything else).

#include <QList>

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
    }
    ~DialogRecorder() { ui::Dialogs::setResponder({}); }
    DialogRecorder(const DialogRecorder&) = delete;
    DialogRecorder& operator=(const DialogRecorder&) = delete;

    void answer(ui::DialogButton button) { answers.append(button); }

    QList<ui::DialogRequest> requests;
    QList<ui::DialogButton> answers;
};

}  // namespace wachtrix::testing
