#include "ui/queue/queue_tab.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "ui/common/help.h"
#include "ui/common/radio_group.h"
#include "ui/queue/edit_filter.h"
#include "ui/queue/multi_row_tab_widget.h"
#include "ui/queue/queue_main_form.h"

namespace wachtrix::ui {
namespace {

constexpr int kEditWidth = 64;
constexpr int kBoundEditWidth = 48;  // two on a line with their captions
const char* const kOutputHint = "The type of output can be specified here";

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QStringList Items(std::span<const std::string_view> items) {
    QStringList list;
    for (const std::string_view item : items)
        list << Q(item);
    return list;
}

QStringList Captions(OutputGroup group) {
    QStringList captions;
    for (const OutputItem& item : group)
        captions << Q(item.caption);
    return captions;
}

QString ValueHint(char kind) {
    switch (kind) {
        case 'T':
            return "Enter t values for which P(w>t) will be calculated";
        case 'N':
            return "Enter values n for which state probabilities will be calculated";
        default:
            return "Enter values p for which percentiles will be calculated";
    }
}

// A label whose caption changes keeps the width of its widest caption, so the edits stay put.
void ReserveWidth(QLabel* label, std::span<const std::string_view> captions) {
    int widest = 0;
    for (const std::string_view caption : captions)
        widest = std::max(widest, label->fontMetrics().horizontalAdvance(Q(caption)));
    label->setMinimumWidth(widest + 2 * label->margin() + 2);
}

// "MMC_C_edit" -> "MMC_C": the stem of a parameter's caption and range label names.
QString FieldStem(const QString& editName) {
    return editName.endsWith("_edit", Qt::CaseInsensitive) ? editName.chopped(5) : editName;
}

ValueGroupKind KindOf(char kind) {
    return kind == 'T' ? ValueGroupKind::T : kind == 'P' ? ValueGroupKind::P : ValueGroupKind::N;
}

// One tab sheet. Enter runs the tab, as its Run is the default button; the help key opens the
// tab's own help topic.
class QueuePage : public QWidget {
public:
    QueuePage(const QString& objectName, int helpContext) : helpContext_(helpContext) {
        setObjectName(objectName);
    }
    void setRunButton(QPushButton* run) { run_ = run; }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_F1) {
            ShowHelpContext(helpContext_, this);
            return;
        }
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
            event->modifiers() == Qt::NoModifier) {
            auto* focused = qobject_cast<QPushButton*>(focusWidget());
            if (focused)
                focused->click();
            else if (run_ && run_->isEnabled())
                run_->click();
            return;
        }
        QWidget::keyPressEvent(event);
    }

private:
    int helpContext_;
    QPushButton* run_ = nullptr;
};

// The default order: the fields, the choices, the Output groups, the value groups.
std::vector<LayoutItem> DefaultLayout(const QueueModelSpec& model) {
    std::vector<LayoutItem> layout;
    for (std::size_t i = 0; i < model.fields.size(); ++i)
        layout.push_back({Slot::Field, static_cast<int>(i)});
    for (std::size_t i = 0; i < model.choices.size(); ++i)
        layout.push_back({Slot::Choice, static_cast<int>(i)});
    layout.push_back({Slot::Outputs});
    layout.push_back({Slot::ValueGroups});
    return layout;
}

}  // namespace

void ParameterField::setVisible(bool visible) const {
    if (label) label->setVisible(visible);
    if (range) range->setVisible(visible);
    if (edit) edit->setVisible(visible);
}

// Adds the controls of the tab (or of a box within it) below each other. Consecutive fields
// share one grid so that their edits line up.
class QueueTab::Builder {
public:
    Builder(QueueTab& tab, TQueueMainForm* window, QWidget* container, QVBoxLayout* layout)
        : tab_(tab), window_(window), container_(container), layout_(layout) {}

    void add(const LayoutItem& item) {
        switch (item.slot) {
            case Slot::Field:
                field(item.index);
                break;
            case Slot::Bounds:
                bounds(item.index);
                break;
            case Slot::Choice:
                choice(item.index);
                break;
            case Slot::Outputs:
                for (const OutputSpec& output : tab_.model_.outputs)
                    outputs(output);
                break;
            case Slot::ValueGroups:
                for (const ValueGroupLimit& group : tab_.model_.groups)
                    valueGroup(group);
                break;
            case Slot::Box:
                box(item);
                break;
            case Slot::EndBox:
                endBox();
                break;
        }
    }

    // Run, Quit and Help, on a line of their own below the tab's controls; Scenario... and
    // Simulate... right above them, as the column has no room for more buttons on that line.
    void buttons(QWidget* bar) {
        closeGrid();
        container_ = bar;
        const QString prefix = Q(tab_.model_.prefix);
        // Created first: the focus goes through the bar top to bottom.
        auto* scenario =
            tab_.model_.figures.empty()
                ? nullptr
                : newButton(prefix + "_Scenario_button", "&Scenario...",
                            "Tabulate figures of the report over a range of one parameter");
        auto* simulate =
            tab_.model_.twin == nullptr
                ? nullptr
                : newButton(prefix + "_Simulate_button", "Si&mulate...",
                            "Simulate the system beside its analysis, with 95% intervals");
        auto* run =
            newButton(prefix + "_Run_Button", "&Run", "Perform calculations (Alt-R is a shortcut)");
        auto* quit = newButton(prefix + "_Quit_Button", "&Quit",
                               "Exit the application (Alt-Q is a shortcut)");
        auto* help = newButton(prefix + "_Help_Button", "&Help", QString());
        help->setIcon(HelpIcon());
        QueueTab* tab = &tab_;
        QObject::connect(run, &QPushButton::clicked, window_, [w = window_, tab] { w->Run(*tab); });
        if (scenario)
            QObject::connect(scenario, &QPushButton::clicked, window_,
                             [w = window_, tab] { w->Scenario(*tab); });
        if (simulate)
            QObject::connect(simulate, &QPushButton::clicked, window_,
                             [w = window_, tab] { w->Simulate(*tab); });
        QObject::connect(quit, &QPushButton::clicked, window_,
                         &TQueueMainForm::MG1_Quit_ButtonClick);
        QObject::connect(help, &QPushButton::clicked, window_,
                         &TQueueMainForm::FinCap_Help_ButtonClick);
        if (auto* page = dynamic_cast<QueuePage*>(tab_.page_)) page->setRunButton(run);

        auto* lines = new QVBoxLayout(bar);
        lines->setContentsMargins(8, 4, 8, 6);
        if (scenario || simulate) {
            auto* above = new QHBoxLayout;
            if (scenario) above->addWidget(scenario);
            if (simulate) above->addWidget(simulate);
            above->addStretch();
            lines->addLayout(above);
        }
        auto* line = new QHBoxLayout;
        line->addWidget(run);
        line->addWidget(quit);
        line->addWidget(help);
        lines->addLayout(line);
    }

private:
    void field(int index) {
        const FieldSpec& entry = tab_.model_.fields[static_cast<std::size_t>(index)];
        ParameterField f;
        f.edit = newEdit(Q(entry.editName), Filter(entry));
        f.label = newLabel(FieldStem(Q(entry.editName)) + "_label", Q(entry.caption));
        f.label->setBuddy(f.edit);
        if (!entry.captions.empty()) ReserveWidth(f.label, entry.captions);
        f.range = newLabel(FieldStem(Q(entry.editName)) + "_range_label", QString());
        f.edit->setToolTip(Q(entry.editHint));
        f.label->setToolTip(Q(entry.labelHint));
        f.range->setToolTip(Q(entry.rangeHint));
        QGridLayout* fields = grid();
        if (tab_.model_.stackedCaptions) {
            fields->addWidget(f.label, row_++, 0, 1, 4);
            fields->addWidget(f.edit, row_, 0);
            fields->addWidget(f.range, row_++, 1, 1, 3);
        } else {
            fields->addWidget(f.label, row_, 0);
            fields->addWidget(f.edit, row_, 1);
            fields->addWidget(f.range, row_++, 2);
        }
        keep(index, f);
    }

    // "Vary c from [ ] to [ ]  1...100": two fields, the bounds of a range, on one line.
    void bounds(int first) {
        const FieldSpec& fromSpec = tab_.model_.fields[static_cast<std::size_t>(first)];
        const FieldSpec& toSpec = tab_.model_.fields[static_cast<std::size_t>(first) + 1];
        ParameterField from, to;
        from.label = newLabel(FieldStem(Q(fromSpec.editName)) + "_label", Q(fromSpec.caption));
        from.edit = newEdit(Q(fromSpec.editName), Filter(fromSpec));
        from.edit->setFixedWidth(kBoundEditWidth);
        from.label->setBuddy(from.edit);
        to.label = newLabel(FieldStem(Q(toSpec.editName)) + "_label", Q(toSpec.caption));
        to.edit = newEdit(Q(toSpec.editName), Filter(toSpec));
        to.edit->setFixedWidth(kBoundEditWidth);
        to.label->setBuddy(to.edit);
        to.range = newLabel(FieldStem(Q(toSpec.editName)) + "_range_label", QString());
        auto* line = new QHBoxLayout;
        line->addWidget(from.label);
        line->addWidget(from.edit);
        line->addWidget(to.label);
        line->addWidget(to.edit);
        line->addWidget(to.range);
        line->addStretch();
        closeGrid();
        layout_->addLayout(line);
        keep(first, from);
        keep(first + 1, to);
    }

    void choice(int index) {
        const ChoiceSpec& entry = tab_.model_.choices[static_cast<std::size_t>(index)];
        closeGrid();
        QueueTab* tab = &tab_;
        if (entry.checkBox) {
            auto* box = new QCheckBox(Q(entry.title), container_);
            box->setObjectName(Q(entry.objectName));
            layout_->addWidget(box);
            tab_.checks_[static_cast<std::size_t>(index)] = box;
            QObject::connect(box, &QCheckBox::toggled, box, [tab] { tab->refresh(); });
            return;
        }
        auto* group =
            new RadioGroup(Q(entry.objectName), Q(entry.title), Items(entry.items), container_);
        group->setToolTip(Q(entry.hint));
        layout_->addWidget(group);
        tab_.choices_[static_cast<std::size_t>(index)] = group;
        QObject::connect(group, &RadioGroup::itemIndexChanged, group, [tab] { tab->refresh(); });
    }

    void outputs(const OutputSpec& entry) {
        closeGrid();
        auto* group =
            new RadioGroup(Q(entry.objectName), Q(entry.title), Captions(entry.items), container_);
        group->setToolTip(kOutputHint);
        layout_->addWidget(group);
        tab_.outputs_.push_back(group);
        QueueTab* tab = &tab_;
        QObject::connect(group, &RadioGroup::itemIndexChanged, group, [tab] { tab->refresh(); });
    }

    // Twelve edits "<prefix>_<kind>Edit1".."12" in a box, three rows of four.
    void valueGroup(const ValueGroupLimit& group) {
        closeGrid();
        const QString prefix = Q(tab_.model_.prefix);
        const char kind = group.kind;
        auto* box = new QGroupBox(Q(group.caption), container_);
        box->setObjectName(QString("%1_%2Values_GroupBox").arg(prefix).arg(kind));
        auto* cells = new QGridLayout(box);
        cells->setContentsMargins(8, 4, 8, 6);
        cells->setSpacing(4);
        ValueBox values{kind, box};
        const EditFilter filter = kind == 'N' ? EditFilter::Integer : EditFilter::Real;
        for (int i = 0; i < 12; ++i) {
            const EditFilter own = i == 0 && group.firstEditUnfiltered ? EditFilter::None : filter;
            auto* edit = new QLineEdit(box);
            edit->setObjectName(QString("%1_%2Edit%3").arg(prefix).arg(kind).arg(i + 1));
            edit->setFixedWidth(kEditWidth);
            window_->wireEdit(edit, own);
            edit->setMinimumWidth(0);
            edit->setMaximumWidth(QWIDGETSIZE_MAX);
            edit->setToolTip(ValueHint(kind));
            cells->addWidget(edit, i / 4, i % 4);
            values.edits[static_cast<std::size_t>(i)] = edit;
        }
        layout_->addWidget(box);
        tab_.valueBoxes_.push_back(values);
    }

    // A titled box whose fields follow until its end; it shows while one of them does.
    void box(const LayoutItem& item) {
        closeGrid();
        auto* box = new QGroupBox(Q(item.title), container_);
        box->setObjectName(Q(item.name));
        auto* inner = new QVBoxLayout(box);
        inner->setContentsMargins(8, 4, 8, 6);
        layout_->addWidget(box);
        outer_.push_back({container_, layout_});
        container_ = box;
        layout_ = inner;
        tab_.boxes_.push_back({box, {}});
    }

    void endBox() {
        closeGrid();
        container_ = outer_.back().first;
        layout_ = outer_.back().second;
        outer_.pop_back();
    }

    static EditFilter Filter(const FieldSpec& entry) {
        return entry.limits.front().integer ? EditFilter::Integer : EditFilter::Real;
    }

    // Fields that share an edit share its controls.
    void keep(int index, const ParameterField& f) {
        const FieldSpec& entry = tab_.model_.fields[static_cast<std::size_t>(index)];
        for (std::size_t i = 0; i < tab_.model_.fields.size(); ++i)
            if (tab_.model_.fields[i].editName == entry.editName) tab_.fields_[i] = f;
        if (!outer_.empty()) tab_.boxes_.back().fields.push_back(index);
        QueueTab* tab = &tab_;
        QObject::connect(f.edit, &QLineEdit::textChanged, f.edit, [tab] { tab->refresh(); });
    }

    QLineEdit* newEdit(const QString& name, EditFilter filter) {
        auto* edit = new QLineEdit(container_);
        edit->setObjectName(name);
        edit->setFixedWidth(kEditWidth);
        window_->wireEdit(edit, filter);
        return edit;
    }

    QLabel* newLabel(const QString& name, const QString& text) {
        auto* label = new QLabel(text, container_);
        label->setObjectName(name);
        return label;
    }

    QPushButton* newButton(const QString& name, const QString& text, const QString& hint) {
        auto* button = new QPushButton(text, container_);
        button->setObjectName(name);
        button->setToolTip(hint);
        return button;
    }

    QGridLayout* grid() {
        if (!grid_) {
            grid_ = new QGridLayout;
            grid_->setHorizontalSpacing(6);
            grid_->setVerticalSpacing(4);
            grid_->setColumnStretch(3, 1);
            layout_->addLayout(grid_);
            row_ = 0;
        }
        return grid_;
    }

    void closeGrid() { grid_ = nullptr; }

    QueueTab& tab_;
    TQueueMainForm* window_;
    QWidget* container_;
    QVBoxLayout* layout_;
    std::vector<std::pair<QWidget*, QVBoxLayout*>> outer_;  // the tab around an open box
    QGridLayout* grid_ = nullptr;
    int row_ = 0;
};

QueueTab::QueueTab(const QueueModelSpec& model, TQueueMainForm* window)
    : model_(model),
      fields_(model.fields.size()),
      typed_(model.fields.size()),
      choices_(model.choices.size()),
      checks_(model.choices.size()) {
    // The controls scroll when the window is low; Run, Quit and Help stay below them, in one
    // place whatever the choices show.
    auto* page = new QueuePage(Q(model.sheetName), model.helpContext);
    page_ = page;
    auto* inputs = new QWidget;
    inputs->setObjectName(Q(model.sheetName) + "_Inputs");
    auto* scroll = new QScrollArea(page);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(inputs);
    auto* bar = new QWidget(page);
    bar->setObjectName(Q(model.prefix) + "_Buttons");
    auto* outer = new QVBoxLayout(page);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(scroll, 1);
    outer->addWidget(bar);
    window->PageControl->addPage(page, Q(model.caption));

    auto* layout = new QVBoxLayout(inputs);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(6);
    auto* heading = new QLabel(Q(model.title), inputs);
    heading->setObjectName(Q(model.sheetName) + "_Title_label");
    heading->setAlignment(Qt::AlignCenter);
    heading->setWordWrap(true);
    QFont font = heading->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.15);
    heading->setFont(font);
    layout->addWidget(heading);

    Builder builder(*this, window, inputs, layout);
    const std::vector<LayoutItem> items =
        model.layout.empty() ? DefaultLayout(model)
                             : std::vector<LayoutItem>(model.layout.begin(), model.layout.end());
    for (const LayoutItem& item : items)
        builder.add(item);
    layout->addStretch(1);
    builder.buttons(bar);
    keepRoomAboveDecidingControls(items);
    refresh();
}

namespace {

// Whether a click on some control placed below `position` in the tab (a choice at
// choicePlace[c], the Output group at outputPlace) shows or hides what `shows` describes.
bool DecidedBelow(const QueueModelSpec& model, int position, const std::vector<int>& choicePlace,
                  int outputPlace, const std::function<bool(const Selection&)>& shows) {
    for (const Selection& s : AllSelections(model)) {
        for (std::size_t c = 0; c < model.choices.size(); ++c) {
            if (choicePlace[c] <= position) continue;
            for (std::size_t item = 0; item < model.choices[c].items.size(); ++item) {
                Selection other = s;
                other.items[c] = static_cast<int>(item);
                if (shows(ClampSelection(model, other)) != shows(s)) return true;
            }
        }
        const OutputSpec* output = model.outputFor(s);
        if (!output || outputPlace <= position) continue;
        for (std::size_t item = 0; item < output->items.size(); ++item) {
            Selection other = s;
            other.output = static_cast<int>(item);
            if (shows(other) != shows(s)) return true;
        }
    }
    return false;
}

void KeepRoomWhenHidden(QWidget* widget) {
    if (!widget) return;
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

}  // namespace

// A field or choice that comes and goes with a control placed below it keeps its room while
// hidden, so that the control the user just clicked stays under the mouse. What appears below
// the click may push the rest down.
void QueueTab::keepRoomAboveDecidingControls(const std::vector<LayoutItem>& items) {
    std::vector<int> fieldPlace(model_.fields.size(), -1);
    std::vector<int> choicePlace(model_.choices.size(), -1);
    int outputPlace = -1;
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        const LayoutItem& item = items[static_cast<std::size_t>(i)];
        const auto index = static_cast<std::size_t>(item.index);
        if (item.slot == Slot::Field) fieldPlace[index] = i;
        if (item.slot == Slot::Bounds) fieldPlace[index] = fieldPlace[index + 1] = i;
        if (item.slot == Slot::Choice) choicePlace[index] = i;
        if (item.slot == Slot::Outputs) outputPlace = i;
    }
    for (std::size_t f = 0; f < model_.fields.size(); ++f) {
        const FieldSpec& field = model_.fields[f];
        if (!field.shown || fieldPlace[f] < 0) continue;
        const auto shows = [&](const Selection& s) { return field.isShown(s); };
        if (!DecidedBelow(model_, fieldPlace[f], choicePlace, outputPlace, shows)) continue;
        for (QWidget* w :
             {static_cast<QWidget*>(fields_[f].label), static_cast<QWidget*>(fields_[f].range),
              static_cast<QWidget*>(fields_[f].edit)})
            KeepRoomWhenHidden(w);
    }
    for (std::size_t c = 0; c < model_.choices.size(); ++c) {
        const ChoiceSpec& choice = model_.choices[c];
        if (!choice.shown || choicePlace[c] < 0) continue;
        const auto shows = [&](const Selection& s) { return choice.isShown(s); };
        if (!DecidedBelow(model_, choicePlace[c], choicePlace, outputPlace, shows)) continue;
        KeepRoomWhenHidden(choices_[c]);
        KeepRoomWhenHidden(checks_[c]);
    }
}

Selection QueueTab::selection() const {
    Selection s;
    for (std::size_t i = 0; i < model_.choices.size(); ++i)
        s.items[i] = choices_[i] ? choices_[i]->itemIndex() : checks_[i]->isChecked() ? 1 : 0;
    if (const OutputSpec* output = model_.outputFor(s)) {
        const auto shown = static_cast<std::size_t>(output - model_.outputs.data());
        s.output = outputs_[shown]->itemIndex();
    }
    return s;
}

QueueForm QueueTab::form() const {
    QueueForm form = EmptyForm(model_);
    form.selection = selection();
    for (std::size_t i = 0; i < fields_.size(); ++i)
        form.fields[i] = fields_[i].edit->text().toStdString();
    for (const ValueBox& values : valueBoxes_) {
        TEditArray& texts = values.kind == 'T' ? form.t : values.kind == 'P' ? form.p : form.n;
        for (std::size_t i = 0; i < texts.size(); ++i)
            texts[i] = values.edits[i]->text().toStdString();
    }
    return form;
}

void QueueTab::showValues(const QueueForm& form) {
    for (const ValueBox& values : valueBoxes_) {
        const TEditArray& texts = values.kind == 'T'   ? form.t
                                  : values.kind == 'P' ? form.p
                                                       : form.n;
        for (std::size_t i = 0; i < texts.size(); ++i)
            values.edits[i]->setText(QString::fromStdString(texts[i]));
    }
}

QLineEdit* QueueTab::edit(std::string_view editName) const {
    const int index = model_.fieldIndex(editName);
    return index < 0 ? nullptr : fields_[static_cast<std::size_t>(index)].edit;
}

const EditGroup& QueueTab::values(char kind) const {
    static const EditGroup kNone{};
    for (const ValueBox& values : valueBoxes_)
        if (values.kind == kind) return values.edits;
    return kNone;
}

void QueueTab::refresh() {
    // Showing a disabled field's fixed text changes the text, which calls here again.
    if (refreshing_) return;
    refreshing_ = true;
    const QueueForm now = form();
    const Selection& s = now.selection;
    const FieldLookup lookup = TextLookup(model_, now);

    for (std::size_t i = 0; i < model_.fields.size(); ++i) {
        const FieldSpec& first = model_.fields[i];
        if (static_cast<std::size_t>(model_.fieldIndex(first.editName)) != i) continue;
        // Fields that share an edit show it while one of them is shown; that one rules it.
        const FieldSpec* entry = &first;
        for (std::size_t k = i; k < model_.fields.size(); ++k)
            if (model_.fields[k].editName == first.editName && model_.fields[k].isShown(s)) {
                entry = &model_.fields[k];
                break;
            }
        const ParameterField& f = fields_[i];
        f.setVisible(entry->isShown(s));
        if (entry->isEnabled(s) != f.edit->isEnabled()) {
            if (!entry->isEnabled(s)) {
                typed_[i] = f.edit->text();
                f.edit->setText(Q(entry->disabledText));
            } else {
                f.edit->setText(typed_[i]);
            }
            f.edit->setEnabled(entry->isEnabled(s));
        }
        f.label->setText(Q(entry->captionFor(s)));
        if (f.range)
            f.range->setText(entry->rangeLabelOf
                                 ? QString::fromStdString(entry->rangeLabelOf(lookup))
                                 : Q(entry->limit(s).rangeLabel));
    }
    for (std::size_t i = 0; i < model_.choices.size(); ++i) {
        QWidget* control = choices_[i] ? static_cast<QWidget*>(choices_[i]) : checks_[i];
        if (control) control->setVisible(model_.choices[i].isShown(s));
    }
    const OutputSpec* output = model_.outputFor(s);
    for (std::size_t i = 0; i < outputs_.size(); ++i)
        outputs_[i]->setVisible(output == &model_.outputs[i]);
    for (const ValueBox& values : valueBoxes_) {
        const bool wanted = output && output->items[static_cast<std::size_t>(s.output)].values ==
                                          KindOf(values.kind);
        values.box->setVisible(wanted);
        if (const ValueGroupLimit* group = model_.group(values.kind))
            values.box->setTitle(QString::fromStdString(ValueGroupCaption(model_, *group, lookup)));
    }
    for (const Box& box : boxes_) {
        bool shown = false;
        for (const int field : box.fields)
            shown = shown || model_.fields[static_cast<std::size_t>(field)].isShown(s);
        box.box->setVisible(shown);
    }
    refreshing_ = false;
}

}  // namespace wachtrix::ui
