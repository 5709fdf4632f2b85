#pragma once
// What a queue model is to everything around it: the fields its tab holds with their limits and
// refusal texts, its choices and Output groups, its value groups, its help topic and its run.
// The window's tabs, the batch tool with its help and manual page, the help topics and the tests
// all read the list QueueModels(); none keeps a list of its own.
//
//   const QueueModelSpec* mmc = FindQueueModel("mmc");
//   QueueForm form = EmptyForm(*mmc);            // texts by field, items by choice
//   form.fields[0] = "2"; form.fields[1] = "0.8";
//   RunQueueModel(*mmc, form, host);              // refuses, or reports to host.results()

#include <algorithm>
#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/queue/model_limits.h"
#include "core/queue/output_group.h"
#include "core/queue/queue_host.h"
#include "core/text/value_list.h"

namespace wachtrix {

struct QueueTwin;  // queue_simulator.h

// The items picked in a tab: one per choice (in the model's order of choices) and the item of
// the Output group shown.
struct Selection {
    static constexpr int kMaxChoices = 4;
    std::array<int, kMaxChoices> items{};
    int output = 0;

    int item(int choice) const { return items[static_cast<std::size_t>(choice)]; }
};

// A field's value as the run and the checks see it, by the field's key; a field the selection
// does not read has none.
class FieldValues {
public:
    void set(std::string_view key, double value) { values_.emplace_back(key, value); }
    std::optional<double> find(std::string_view key) const;
    double operator[](std::string_view key) const;  // a field the run reads
    int integer(std::string_view key) const { return static_cast<int>((*this)[key]); }

private:
    std::vector<std::pair<std::string_view, double>> values_;
};

// The value of another field by its key, as far as it can be read (for labels that follow what
// the user types, and for bounds that depend on other fields).
using FieldLookup = std::function<std::optional<double>(std::string_view key)>;

// A predicate on the selection: when a field or choice is shown, or read.
using SelectionTest = bool (*)(const Selection&);

// A field whose limit does not change with the choices.
constexpr std::span<const FieldLimit> One(const FieldLimit& limit) {
    return {&limit, 1};
}

// One typed parameter of a tab.
struct FieldSpec {
    std::string_view editName;  // the edit's objectName, "MMC_C_edit"
    std::string_view caption;   // "C:"
    // The limits: one, or one per item of `limitChoice`; the batch key is the first one's.
    std::span<const FieldLimit> limits;
    std::string_view incorrect;   // the refusal of a text that is no number
    std::string_view outOfRange;  // the refusal of a number outside the limit
    int limitChoice = -1;
    SelectionTest shown = nullptr;    // null: always shown
    SelectionTest enabled = nullptr;  // null: always; a disabled field is not read
    // What a disabled field shows in place of the text typed (restored when it is enabled).
    std::string_view disabledText = {};
    // Captions per item of `limitChoice` where the caption changes with it.
    std::span<const std::string_view> captions = {};
    // An empty text reads as "not given" rather than as a refusal.
    bool optional = false;
    // A check of the value against the fields read before it; the refusal text, or null.
    const char* (*check)(double value, const FieldValues& before) = nullptr;
    // A range label that follows the other fields as they are typed.
    std::string (*rangeLabelOf)(const FieldLookup&) = nullptr;
    std::string_view editHint = {}, labelHint = {}, rangeHint = {};

    const FieldLimit& limit(const Selection& s) const;
    std::string_view captionFor(const Selection& s) const;
    std::string_view key() const { return limits.front().key; }
    bool isShown(const Selection& s) const { return !shown || shown(s); }
    bool isEnabled(const Selection& s) const { return !enabled || enabled(s); }
    bool isRead(const Selection& s) const { return isShown(s) && isEnabled(s); }
};

// A radio group beside the Output group (or a tick box, with the items off and on).
struct ChoiceSpec {
    std::string_view key;  // the batch key, "" where the batch tool has none
    std::string_view objectName;
    std::string_view title;
    std::span<const std::string_view> items;
    std::string_view hint = {};
    SelectionTest shown = nullptr;  // null: always shown
    // The batch tool's names of the items ("mmc", ...) where it takes names, not numbers.
    std::span<const std::string_view> itemKeys = {};
    // The batch keys that pick each item where the choice has no key of its own: "t alpha" (all
    // of them given), "ewq", "pwait".
    std::span<const std::string_view> impliedBy = {};
    std::string_view alias = {};  // a second batch key for it
    bool checkBox = false;

    bool isShown(const Selection& s) const { return !shown || shown(s); }
};

// One Output radio group; a tab with two shows the one its choice asks for.
struct OutputSpec {
    std::string_view objectName;
    std::string_view title;
    OutputGroup items;
};

// Where the tab puts its pieces, top to bottom, where the default order does not serve.
enum class Slot { Field, Choice, Outputs, ValueGroups, Box, EndBox, Bounds };
struct LayoutItem {
    Slot slot;
    int index = 0;                           // the field (Bounds: the first of two) or choice
    std::string_view name = {}, title = {};  // a Box's objectName and title
};

// A figure a model's report prints, by the name it prints it under (scenario tables ask for
// figures by these names). A figure read from a table needs a point of its value group.
struct FigureSpec {
    std::string_view name;     // "Pwait", "E(Wq)", "P{Wq>t}"
    char point = 0;            // 0: the statistics block; 'T', 'P' or 'N': that table's column
    bool probability = false;  // drawn on a logarithmic axis
};

// A model's figures, put together from the groups below in the order its report prints them.
template <std::size_t... N>
constexpr std::array<FigureSpec, (N + ...)> JoinFigures(const std::array<FigureSpec, N>&... parts) {
    std::array<FigureSpec, (N + ...)> all{};
    std::size_t at = 0;
    ((std::copy(parts.begin(), parts.end(), all.begin() + static_cast<std::ptrdiff_t>(at)),
      at += N),
     ...);
    return all;
}

// The usual statistics block, the waiting-time tables and the state tables.
inline constexpr std::array<FigureSpec, 6> kStatisticsFigures = {
    {{"Pwait", 0, true}, {"Pbusy", 0, true}, {"E(Wq)"}, {"E(Lq)"}, {"Std(Wq)"}, {"Std(Lq)"}}};
inline constexpr std::array<FigureSpec, 2> kWaitingFigures = {
    {{"P{Wq>t}", 'T', true}, {"Percentile", 'P'}}};
inline constexpr std::array<FigureSpec, 2> kStateFigures = {
    {{"P{L=n}", 'N', true}, {"P{L>n}", 'N', true}}};
// The states seen over time and by arrivals.
inline constexpr std::array<FigureSpec, 4> kAverageStateFigures = {{{"P{L(time)=n}", 'N', true},
                                                                    {"P{L(time)>n}", 'N', true},
                                                                    {"P{L(cust)=n}", 'N', true},
                                                                    {"P{L(cust)>n}", 'N', true}}};
inline constexpr auto kStandardFigures =
    JoinFigures(kStatisticsFigures, kWaitingFigures, kStateFigures);
inline constexpr auto kStandardAverageStateFigures =
    JoinFigures(kStatisticsFigures, kWaitingFigures, kAverageStateFigures);

// Everything the run reads once the fields are checked.
struct QueueRun {
    FieldValues fields;
    Selection selection;
    OutputRequest output;
};

struct QueueModelSpec {
    std::string_view key;        // the batch tool's model name, "mmc"
    std::string_view caption;    // the tab's caption, "M/M/c"
    std::string_view title;      // the tab's heading, "M/M/c Queue"
    std::string_view sheetName;  // the tab's objectName, "MMC_TabSheet"
    std::string_view prefix;     // of its buttons and value groups, "MMC"
    int helpContext = 0;
    std::string_view helpPage;   // "mmc.html"
    std::string_view helpTitle;  // the help topic's title
    std::string_view summary;    // the batch tool's one line on the model
    std::string_view example;    // the keys of a typical run, "c=2 rho=0.8"

    std::span<const FieldSpec> fields;
    std::span<const ChoiceSpec> choices = {};
    std::span<const OutputSpec> outputs = {};
    int outputChoice = -1;  // the choice that picks the Output group, with one entry per item
    std::span<const int> outputOfItem = {};
    std::span<const ValueGroupLimit> groups = {};  // in the tab's order
    // The largest n-value where it follows the fields (c + N, M); null: the group's own.
    std::optional<double> (*nUpperOf)(const FieldLookup&) = nullptr;

    // Every field's text is read before any is checked against its limits.
    bool parseAllFirst = false;
    std::string_view refusalTitle = "Error";
    bool stackedCaptions = false;              // captions above their edits
    std::span<const LayoutItem> layout = {};   // empty: fields, choices, outputs, value groups
    std::span<const FigureSpec> figures = {};  // what scenario tables may ask for

    void (*run)(const QueueRun&, QueueHost&) = nullptr;
    // The system the simulation runs for the same fields and choices; null where a tab has
    // nothing to simulate (a curve over a range, a staffing search).
    QueueTwin (*twin)(const QueueRun&) = nullptr;
    // Where a run's output is its curve (the tab writes nothing to Results): the batch tool's
    // table of the plotted points.
    std::vector<std::string> (*curveTable)(const ChartPlot&, const Selection&) = nullptr;

    const OutputSpec* outputFor(const Selection& s) const;
    const ValueGroupLimit* group(char kind) const;
    int fieldIndex(std::string_view editName) const;  // -1 when none
};

// Every combination of a model's choices' items with each item of the Output group it shows.
// keyedOnly: the choices the batch tool names by a key only (the others at their first item).
std::vector<Selection> AllSelections(const QueueModelSpec& model, bool keyedOnly = false);

// Every queue model, in the order of the window's tabs.
std::span<const QueueModelSpec* const> QueueModels();
const QueueModelSpec* FindQueueModel(std::string_view key);

// What a tab holds: the text of each field (by index), its selection and its value groups,
// which the readers rewrite in place.
struct QueueForm {
    std::vector<std::string> fields;
    Selection selection;
    TEditArray t, p, n;
};
QueueForm EmptyForm(const QueueModelSpec& model);

// Why a run is refused, and the field it concerns (its index, -1 for none).
struct Refusal {
    std::string text;
    int field = -1;
};

// The fields the selection reads, in order, each against its limit; the first refusal ends it.
struct FieldReading {
    FieldValues values;
    std::optional<Refusal> refusal;
};
FieldReading ReadFields(const QueueModelSpec& model, const QueueForm& form);

// The items of `selection` held to the model's groups (an item outside a group becomes 0).
Selection ClampSelection(const QueueModelSpec& model, Selection selection);

// What the run gets: the fields read and the value groups the chosen output asks for (the
// selection held to the model's groups, the value groups rewritten in place), or the refusal.
struct RunReading {
    std::optional<QueueRun> run;
    std::optional<Refusal> refusal;
};
RunReading ReadQueueRun(const QueueModelSpec& model, QueueForm& form);

// The whole run: the fields read (a refusal goes to the host's box with the field's edit), the
// value groups the chosen output asks for, then the model's run; a numerical failure ends it as
// RunGuarded says.
void RunQueueModel(const QueueModelSpec& model, QueueForm& form, QueueHost& host);

// The lookup of a form's texts: each read as its field's kind of number.
FieldLookup TextLookup(const QueueModelSpec& model, const QueueForm& form);

// "n-values (<=5)" where the largest n-value follows the fields and they can be read.
std::string ValueGroupCaption(const QueueModelSpec& model, const ValueGroupLimit& group,
                              const FieldLookup& lookup);

}  // namespace wachtrix
