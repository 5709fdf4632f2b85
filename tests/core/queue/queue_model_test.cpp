// The registry and its one field reader, over every model: whatever a tab's fields promise (their
// range labels and the batch tool's help come from the same limits) is what the reader accepts,
// under every selection of the tab's choices and Output items.

#include "core/queue/queue_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/recording_host.h"

namespace wachtrix {
namespace {

std::string Text(double v) {
    char buffer[32];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr);
}

// Every field the selection reads at its lower (or upper) bound.
QueueForm AtBounds(const QueueModelSpec& model, const Selection& s, bool upper) {
    QueueForm form = EmptyForm(model);
    form.selection = s;
    for (std::size_t i = 0; i < model.fields.size(); ++i) {
        const FieldLimit& limit = model.fields[i].limit(s);
        form.fields[i] = Text(upper ? limit.upper : limit.lower);
    }
    return form;
}

// A value just beyond a bound, as a user would type it.
double Beyond(const FieldLimit& limit, bool upper) {
    if (limit.integer) return upper ? limit.upper + 1 : limit.lower - 1;
    const double step = std::max(std::fabs(upper ? limit.upper : limit.lower) * 1e-6, 1e-9);
    return upper ? limit.upper + limit.slack + step : limit.lower - step;
}

class EveryModel : public ::testing::TestWithParam<const QueueModelSpec*> {};

TEST_P(EveryModel, ReadsEveryFieldWithinItsLimitAndRefusesBeyond) {
    const QueueModelSpec& model = *GetParam();
    for (const Selection& s : AllSelections(model)) {
        for (const bool upper : {false, true}) {
            const QueueForm base = AtBounds(model, s, upper);
            const FieldReading inside = ReadFields(model, base);
            ASSERT_FALSE(inside.refusal) << model.key << ": " << inside.refusal->text;
            for (std::size_t i = 0; i < model.fields.size(); ++i) {
                const FieldSpec& field = model.fields[i];
                if (!field.isRead(s)) continue;
                const FieldLimit& limit = field.limit(s);
                QueueForm outside = base;
                outside.fields[i] = Text(Beyond(limit, upper));
                const FieldReading refused = ReadFields(model, outside);
                ASSERT_TRUE(refused.refusal)
                    << model.key << " " << field.editName << "=" << outside.fields[i];
                EXPECT_EQ(refused.refusal->text,
                          limit.refusal.empty() ? field.outOfRange : limit.refusal);
                EXPECT_EQ(refused.refusal->field, static_cast<int>(i));

                QueueForm garbled = base;
                garbled.fields[i] = "1.2.3";
                const FieldReading incorrect = ReadFields(model, garbled);
                ASSERT_TRUE(incorrect.refusal) << model.key << " " << field.editName;
                EXPECT_EQ(incorrect.refusal->text, field.incorrect);
                EXPECT_EQ(incorrect.refusal->field, static_cast<int>(i));
            }
        }
    }
}

// A range label promises what the model accepts: every number it shows passes the limit.
TEST_P(EveryModel, RangeLabelsShowAcceptedBounds) {
    for (const FieldSpec& field : GetParam()->fields) {
        for (const FieldLimit& limit : field.limits) {
            std::string label(limit.rangeLabel);
            for (auto at = label.find("<="); at != std::string::npos; at = label.find("<="))
                label.replace(at, 2, " ");
            for (auto at = label.find("..."); at != std::string::npos; at = label.find("..."))
                label.replace(at, 3, " ");
            std::istringstream words(label);
            for (std::string w; words >> w;) {
                if (w.find_first_not_of("0123456789.e-") != std::string::npos) continue;
                if (w.find("..") != std::string::npos) {  // "1..100"
                    w.replace(w.find(".."), 2, " ");
                    std::istringstream both(w);
                    for (double v; both >> v;)
                        EXPECT_TRUE(limit.contains(v)) << limit.rangeLabel;
                    continue;
                }
                EXPECT_TRUE(limit.contains(std::stod(w))) << limit.rangeLabel;
            }
        }
    }
}

// The data the tab and the batch tool are built from hangs together.
TEST_P(EveryModel, EntryIsConsistent) {
    const QueueModelSpec& model = *GetParam();
    EXPECT_LE(model.choices.size(), static_cast<std::size_t>(Selection::kMaxChoices));
    EXPECT_TRUE(model.run);
    for (const FieldSpec& field : model.fields) {
        EXPECT_FALSE(field.incorrect.empty());
        EXPECT_FALSE(field.outOfRange.empty());
        for (const FieldLimit& limit : field.limits)
            EXPECT_EQ(limit.key, field.key()) << field.editName;
        if (field.limitChoice >= 0) {
            ASSERT_LT(field.limitChoice, static_cast<int>(model.choices.size()));
            EXPECT_EQ(field.limits.size(),
                      model.choices[static_cast<std::size_t>(field.limitChoice)].items.size())
                << field.editName;
        }
    }
    if (model.outputChoice >= 0) {
        EXPECT_EQ(model.outputOfItem.size(),
                  model.choices[static_cast<std::size_t>(model.outputChoice)].items.size());
        for (const int output : model.outputOfItem)
            EXPECT_LT(output, static_cast<int>(model.outputs.size()));
    }
    // Every value group an Output item reads is on the tab.
    for (const OutputSpec& output : model.outputs)
        for (const OutputItem& item : output.items) {
            const char kind = item.values == ValueGroupKind::T   ? 'T'
                              : item.values == ValueGroupKind::P ? 'P'
                              : item.values == ValueGroupKind::N ? 'N'
                                                                 : 0;
            if (kind) {
                EXPECT_TRUE(model.group(kind)) << model.key << " " << kind;
            }
        }
}

// A refusal is one box that names its field, before anything is written, opened or computed:
// here the first field each model reads garbled, with a graph asked for where the model has one.
TEST_P(EveryModel, RefusalIsOneBoxAndNothingElse) {
    const QueueModelSpec& model = *GetParam();
    QueueForm form = AtBounds(model, Selection{}, true);
    if (const OutputSpec* output = model.outputFor(form.selection))
        for (std::size_t i = 0; i < output->items.size(); ++i)
            if (output->items[i].mode == kGraphs) form.selection.output = static_cast<int>(i);
    std::size_t first = 0;
    while (!model.fields[first].isRead(form.selection))
        ++first;
    form.fields[first] = "1.2.3";
    form.t = {"3", "1"};
    testing::RecordingHost host;
    RunQueueModel(model, form, host);
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(host.errors[0].title, model.refusalTitle);
    EXPECT_EQ(host.errors[0].text, model.fields[first].incorrect);
    EXPECT_EQ(host.errors[0].field, model.fields[first].editName);
    EXPECT_TRUE(host.sink.lines.empty());
    EXPECT_TRUE(host.windows.empty());
    EXPECT_EQ(host.busyCount, 0);
    EXPECT_EQ(form.t[0], "3");  // no value read before the refusal
}

INSTANTIATE_TEST_SUITE_P(Registry, EveryModel, ::testing::ValuesIn(QueueModels()),
                         [](const auto& info) { return std::string(info.param->key); });

TEST(Registry, KeysSheetsAndHelpContextsAreUnique) {
    std::set<std::string_view> keys, sheets, prefixes;
    std::set<int> contexts;
    for (const QueueModelSpec* model : QueueModels()) {
        EXPECT_TRUE(keys.insert(model->key).second) << model->key;
        EXPECT_TRUE(sheets.insert(model->sheetName).second) << model->sheetName;
        EXPECT_TRUE(prefixes.insert(model->prefix).second) << model->prefix;
        EXPECT_TRUE(contexts.insert(model->helpContext).second) << model->helpContext;
        EXPECT_EQ(FindQueueModel(model->key), model);
    }
    EXPECT_EQ(FindQueueModel("nosuch"), nullptr);
}

// The reader's order (all texts first where the model says so, each field against the ones
// before it) is held by the batch tool's refusals (tests/data/refusals.txt).

// A form of a model with the given texts by field key.
QueueForm FormOf(const QueueModelSpec& model,
                 std::initializer_list<std::pair<const char*, const char*>> texts,
                 Selection s = {}) {
    QueueForm form = EmptyForm(model);
    form.selection = s;
    for (const auto& [key, text] : texts)
        for (std::size_t i = 0; i < model.fields.size(); ++i)
            if (model.fields[i].key() == key) form.fields[i] = text;
    return form;
}

TEST(FieldReader, LeavesAnEmptyOptionalFieldOut) {
    const QueueModelSpec& staffing = *FindQueueModel("staffing");
    Selection delay;
    delay.items[2] = 2;  // Pwait <= alpha
    const FieldReading r = ReadFields(
        staffing, FormOf(staffing, {{"a", "10"}, {"pwait", "0.2"}, {"maxrho", "  "}}, delay));
    ASSERT_FALSE(r.refusal);
    EXPECT_FALSE(r.values.find("maxrho"));
    EXPECT_EQ(r.values["pwait"], 0.2);
    EXPECT_FALSE(r.values.find("alpha"));  // the other target's field shares the edit
}

// The n-values caption follows the fields it depends on, as the user types them.
TEST(ValueGroupCaption, FollowsTheTypedFields) {
    const QueueModelSpec& fincap = *FindQueueModel("fincap");
    const ValueGroupLimit& n = *fincap.group('N');
    const auto caption = [&](const char* c, const char* N) {
        const QueueForm form = FormOf(fincap, {{"c", c}, {"rho", "0.5"}, {"N", N}});
        return ValueGroupCaption(fincap, n, TextLookup(fincap, form));
    };
    EXPECT_EQ(caption("2", "3"), "n-values (<=5)");
    EXPECT_EQ(caption("2000000000", "2000000000"), "n-values (<=4000000000)");
    EXPECT_EQ(caption("", "3"), "n-values");
    EXPECT_EQ(caption("2.5", "3"), "n-values");
    const QueueModelSpec& finsrc = *FindQueueModel("finsrc");
    EXPECT_EQ(ValueGroupCaption(finsrc, *finsrc.group('N'),
                                TextLookup(finsrc, FormOf(finsrc, {{"M", "25"}}))),
              "n-values (<=25)");
    EXPECT_EQ(ValueGroupCaption(*FindQueueModel("mmc"), *FindQueueModel("mmc")->group('N'),
                                [](std::string_view) { return std::optional<double>(); }),
              "n-values (<= 5000)");
}

}  // namespace
}  // namespace wachtrix
