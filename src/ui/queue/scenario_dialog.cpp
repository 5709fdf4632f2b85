#include "ui/queue/scenario_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "core/text/number_parse.h"
#include "ui/common/dialogs.h"
#include "ui/queue/stoppable_progress.h"

namespace wachtrix::ui {
namespace {

constexpr int kDefaultPoints = 10;

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// QString::number ignores the locale, as every number the program shows must.
QString Number(double v) {
    return QString::number(v, 'g', 6);
}

QString Caption(std::string_view caption) {
    QString text = Q(caption).trimmed();
    if (text.endsWith(':')) text.chop(1);
    return text.remove('&');
}

const FigureSpec* Figure(const QueueModelSpec& model, const QString& name) {
    for (const FigureSpec& figure : model.figures)
        if (Q(figure.name) == name) return &figure;
    return nullptr;
}

// The statistics a first look at a model wants: whether customers wait, and how long.
bool TickedAtFirst(const QueueModelSpec& model, const FigureSpec& figure) {
    const auto offered = [&](std::string_view name) {
        return std::any_of(model.figures.begin(), model.figures.end(),
                           [&](const FigureSpec& f) { return f.name == name; });
    };
    if (offered("Pwait") && offered("E(Wq)"))
        return figure.name == "Pwait" || figure.name == "E(Wq)";
    return &figure == &model.figures.front();
}

}  // namespace

ScenarioDialog::ScenarioDialog(const QueueModelSpec& model, QueueForm form, QWidget* parent)
    : QDialog(parent),
      model_(model),
      form_(std::move(form)),
      field_(new QComboBox(this)),
      from_(new QLineEdit(this)),
      to_(new QLineEdit(this)),
      points_(new QSpinBox(this)),
      log_(new QCheckBox("&Logarithmic spacing", this)),
      figures_(new QListWidget(this)),
      t_(new QLineEdit(this)),
      p_(new QLineEdit(this)),
      n_(new QLineEdit(this)) {
    setObjectName("Scenario_dialog");
    setWindowTitle("Scenario of the " + Q(model.caption) + " tab");
    field_->setObjectName("Scenario_Field_combo");
    from_->setObjectName("Scenario_From_edit");
    to_->setObjectName("Scenario_To_edit");
    points_->setObjectName("Scenario_Points_edit");
    log_->setObjectName("Scenario_Log_check");
    figures_->setObjectName("Scenario_Figures_list");
    t_->setObjectName("Scenario_T_edit");
    p_->setObjectName("Scenario_P_edit");
    n_->setObjectName("Scenario_N_edit");

    // Fields that share an edit, or a key, are one choice here.
    for (std::size_t i = 0; i < model.fields.size(); ++i) {
        const FieldSpec& entry = model.fields[i];
        if (!entry.isRead(form_.selection) || field_->findData(Q(entry.key())) >= 0) continue;
        field_->addItem(Caption(entry.captionFor(form_.selection)) + " (" + Q(entry.key()) + ")",
                        Q(entry.key()));
    }
    points_->setRange(1, kMostScenarioValues);
    points_->setValue(kDefaultPoints);
    for (const FigureSpec& figure : model.figures) {
        auto* item = new QListWidgetItem(Q(figure.name), figures_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(TickedAtFirst(model, figure) ? Qt::Checked : Qt::Unchecked);
    }
    figures_->setMinimumHeight(figures_->sizeHintForRow(0) * 6 + 2 * figures_->frameWidth());
    t_->setText(Q(form_.t[0]));
    p_->setText(Q(form_.p[0]));
    n_->setText(Q(form_.n[0]));

    auto* range = new QHBoxLayout;
    range->addWidget(from_);
    range->addWidget(new QLabel("to", this));
    range->addWidget(to_);
    auto* points = new QFormLayout;
    points->addRow("&Vary:", field_);
    points->addRow("&From:", range);
    points->addRow("&Points:", points_);
    points->addRow(QString(), log_);
    points->addRow("F&igures:", figures_);
    points->addRow("&t:", t_);
    points->addRow("&p:", p_);
    points->addRow("&n:", n_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName("Scenario_buttons");
    buttons->button(QDialogButtonBox::Ok)->setObjectName("Scenario_OK_button");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("Scenario_Cancel_button");
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(points);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &ScenarioDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ScenarioDialog::reject);
    connect(field_, &QComboBox::currentIndexChanged, this, [this] { fieldChosen(); });
    connect(figures_, &QListWidget::itemChanged, this, [this] { figuresTicked(); });
    fieldChosen();
    figuresTicked();
}

void ScenarioDialog::fieldChosen() {
    const std::string key = field_->currentData().toString().toStdString();
    for (std::size_t i = 0; i < model_.fields.size(); ++i) {
        const FieldSpec& entry = model_.fields[i];
        if (entry.key() != key || !entry.isRead(form_.selection)) continue;
        const FieldLimit& limit = entry.limit(form_.selection);
        const auto value = ParseReal(form_.fields[i]);
        if (!value || !std::isfinite(*value)) {
            from_->clear();
            to_->clear();
            return;
        }
        // A few whole steps either side of a count; up to the value from half of it otherwise.
        const double from = limit.integer ? *value - 2 : *value / 2;
        const double to = limit.integer ? *value + 2 : *value;
        from_->setText(Number(std::clamp(from, limit.lower, limit.upper)));
        to_->setText(Number(std::clamp(to, limit.lower, limit.upper)));
        return;
    }
}

void ScenarioDialog::figuresTicked() {
    bool t = false, p = false, n = false;
    for (int row = 0; row < figures_->count(); ++row) {
        const QListWidgetItem* item = figures_->item(row);
        const FigureSpec* figure = Figure(model_, item->text());
        if (item->checkState() != Qt::Checked || !figure) continue;
        t = t || figure->point == 'T';
        p = p || figure->point == 'P';
        n = n || figure->point == 'N';
    }
    t_->setEnabled(t);
    p_->setEnabled(p);
    n_->setEnabled(n);
}

std::string ScenarioDialog::readRequest(ScenarioRequest& request) const {
    request.field = field_->currentData().toString().toStdString();
    const auto from = ParseReal(from_->text().toStdString());
    const auto to = ParseReal(to_->text().toStdString());
    if (!from || !std::isfinite(*from)) return "From is not a number";
    if (!to || !std::isfinite(*to)) return "To is not a number";
    request.from = *from;
    request.to = *to;
    request.count = points_->value();
    request.logSpacing = log_->isChecked();
    for (int row = 0; row < figures_->count(); ++row)
        if (figures_->item(row)->checkState() == Qt::Checked)
            request.figures.push_back(figures_->item(row)->text().toStdString());
    if (t_->isEnabled()) {
        const auto t = ParseReal(t_->text().toStdString());
        if (!t || !std::isfinite(*t)) return "t is not a number";
        request.t = *t;
    }
    if (p_->isEnabled()) {
        const auto p = ParseReal(p_->text().toStdString());
        if (!p || !std::isfinite(*p)) return "p is not a number";
        request.p = *p;
    }
    if (n_->isEnabled()) {
        const auto n = ParseInt(n_->text().toStdString());
        if (!n) return "n is not a whole number";
        request.n = *n;
    }
    // A value outside the field's limits is not refused here: its row says why, as in the batch
    // tool, so a range may run on past where the model stops.
    if (std::string why = CheckScenario(model_, form_, request); !why.empty()) return why;
    return {};
}

void ScenarioDialog::accept() {
    ScenarioRequest request;
    if (const std::string why = readRequest(request); !why.empty()) {
        Dialogs::show(this, DialogKind::Error, "Scenario", QString::fromStdString(why));
        return;
    }
    request_ = std::move(request);
    QDialog::accept();
}

ScenarioTable RunScenarioWithProgress(const QueueModelSpec& model, const QueueForm& form,
                                      const ScenarioRequest& request, QWidget* over) {
    StoppableProgress progress("Computing the scenario...", "Scenario_progress", over);
    return RunScenario(model, form, request,
                       [&](int done, int total) { return progress.carryOn(done, total); });
}

}  // namespace wachtrix::ui
