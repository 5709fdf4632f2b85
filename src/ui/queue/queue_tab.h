#pragma once
// One tab of the queue window, built from its model's registry entry: the heading, the fields with
// their captions and range labels, the choices, the Output groups and the value groups, laid out
// top to bottom in the order a user fills them in, with Run, Quit and Help on a line below them
// at the foot of the tab (Scenario... above Run where the model offers figures). The tab keeps
// itself in step with what the user picks and types (which fields, groups and boxes show, the range
// labels and captions that follow the choices and the other fields) from the entry's data alone. A
// click never moves the control clicked, nor Run, Quit and Help.

#include <QString>
#include <array>
#include <string_view>
#include <vector>

#include "core/queue/queue_model.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace wachtrix::ui {

class RadioGroup;
class TQueueMainForm;

// The twelve edits of one t-, n- or p-value group, in the order 1..12.
using EditGroup = std::array<QLineEdit*, 12>;

// A parameter edit with its caption and range label (either may be absent).
struct ParameterField {
    QLabel* label = nullptr;
    QLabel* range = nullptr;
    QLineEdit* edit = nullptr;
    void setVisible(bool visible) const;
};

class QueueTab {
public:
    // Adds the tab's page to the window's tab widget.
    QueueTab(const QueueModelSpec& model, TQueueMainForm* window);

    const QueueModelSpec& model() const { return model_; }
    QWidget* page() const { return page_; }

    // What the tab holds, for a run.
    QueueForm form() const;
    // The value texts as the readers rewrote them.
    void showValues(const QueueForm& form);

    // A field's edit by its objectName; null when the tab has none.
    QLineEdit* edit(std::string_view editName) const;
    // A value group's edits (all null when the tab has no such group).
    const EditGroup& values(char kind) const;

    // Captions, range labels, enabled and shown controls for the current choices and texts.
    void refresh();

private:
    class Builder;
    struct Box {
        QGroupBox* box;
        std::vector<int> fields;
    };
    struct ValueBox {
        char kind;
        QGroupBox* box;
        EditGroup edits{};
    };

    Selection selection() const;
    void keepRoomAboveDecidingControls(const std::vector<LayoutItem>& items);

    const QueueModelSpec& model_;
    QWidget* page_ = nullptr;
    std::vector<ParameterField> fields_;  // by field; fields that share an edit share its entry
    std::vector<QString> typed_;          // what a disabled field held before it was disabled
    std::vector<RadioGroup*> choices_;    // by choice; null for a tick box
    std::vector<QCheckBox*> checks_;      // by choice; null for a radio group
    std::vector<RadioGroup*> outputs_;
    std::vector<ValueBox> valueBoxes_;
    std::vector<Box> boxes_;
    bool refreshing_ = false;
};

}  // namespace wachtrix::ui
