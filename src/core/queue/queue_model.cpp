#include "core/queue/queue_model.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "core/text/delphi_format.h"
#include "core/text/number_parse.h"

namespace wachtrix {

std::optional<double> FieldValues::find(std::string_view key) const {
    for (const auto& [k, v] : values_)
        if (k == key) return v;
    return std::nullopt;
}

double FieldValues::operator[](std::string_view key) const {
    if (const auto v = find(key)) return *v;
    throw std::logic_error("the run reads a field it was not given: " + std::string(key));
}

const FieldLimit& FieldSpec::limit(const Selection& s) const {
    if (limitChoice < 0 || limits.size() == 1) return limits.front();
    const auto item = static_cast<std::size_t>(s.item(limitChoice));
    return limits[std::min(item, limits.size() - 1)];
}

std::string_view FieldSpec::captionFor(const Selection& s) const {
    if (captions.empty() || limitChoice < 0) return caption;
    const auto item = static_cast<std::size_t>(s.item(limitChoice));
    return captions[std::min(item, captions.size() - 1)];
}

const OutputSpec* QueueModelSpec::outputFor(const Selection& s) const {
    if (outputs.empty()) return nullptr;
    if (outputChoice < 0) return &outputs.front();
    const auto item = static_cast<std::size_t>(s.item(outputChoice));
    return &outputs[static_cast<std::size_t>(
        outputOfItem[std::min(item, outputOfItem.size() - 1)])];
}

std::vector<Selection> AllSelections(const QueueModelSpec& model, bool keyedOnly) {
    std::vector<Selection> all{Selection{}};
    for (std::size_t c = 0; c < model.choices.size(); ++c) {
        if (keyedOnly && model.choices[c].key.empty()) continue;
        std::vector<Selection> next;
        for (const Selection& s : all)
            for (std::size_t item = 0; item < model.choices[c].items.size(); ++item) {
                Selection t = s;
                t.items[c] = static_cast<int>(item);
                next.push_back(t);
            }
        all = std::move(next);
    }
    std::vector<Selection> withOutputs;
    for (const Selection& s : all) {
        const OutputSpec* output = model.outputFor(s);
        for (std::size_t item = 0; item < (output ? output->items.size() : 1); ++item) {
            Selection t = s;
            t.output = static_cast<int>(item);
            withOutputs.push_back(t);
        }
    }
    return withOutputs;
}

const ValueGroupLimit* QueueModelSpec::group(char kind) const {
    for (const ValueGroupLimit& g : groups)
        if (g.kind == kind) return &g;
    return nullptr;
}

int QueueModelSpec::fieldIndex(std::string_view editName) const {
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i].editName == editName) return static_cast<int>(i);
    return -1;
}

const QueueModelSpec* FindQueueModel(std::string_view key) {
    for (const QueueModelSpec* model : QueueModels())
        if (model->key == key) return model;
    return nullptr;
}

QueueForm EmptyForm(const QueueModelSpec& model) {
    QueueForm form;
    form.fields.resize(model.fields.size());
    return form;
}

Selection ClampSelection(const QueueModelSpec& model, Selection selection) {
    for (std::size_t i = 0; i < model.choices.size(); ++i) {
        int& item = selection.items[i];
        if (item < 0 || item >= static_cast<int>(model.choices[i].items.size())) item = 0;
    }
    const OutputSpec* output = model.outputFor(selection);
    if (!output || selection.output < 0 ||
        selection.output >= static_cast<int>(output->items.size()))
        selection.output = 0;
    return selection;
}

namespace {

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(' ') == std::string::npos;
}

std::optional<double> ParseAs(const FieldLimit& limit, const std::string& text) {
    if (limit.integer) {
        const auto v = ParseInt(text);
        return v ? std::optional<double>(*v) : std::nullopt;
    }
    return ParseReal(text);
}

}  // namespace

FieldReading ReadFields(const QueueModelSpec& model, const QueueForm& form) {
    FieldReading reading;
    const Selection& s = form.selection;
    std::vector<std::optional<double>> parsed(model.fields.size());
    const auto refuse = [&](std::string_view text, std::size_t field) {
        reading.refusal = Refusal{std::string(text), static_cast<int>(field)};
        return reading;
    };
    const auto read = [&](std::size_t i) -> bool {
        const FieldSpec& field = model.fields[i];
        const std::string& text = form.fields[i];
        if (field.optional && IsBlank(text)) return true;
        parsed[i] = ParseAs(field.limit(s), text);
        return parsed[i].has_value();
    };
    const auto check = [&](std::size_t i) -> const char* {
        const FieldSpec& field = model.fields[i];
        if (!parsed[i]) return nullptr;  // optional and not given
        const FieldLimit& limit = field.limit(s);
        if (!limit.contains(*parsed[i]))
            return (limit.refusal.empty() ? field.outOfRange : limit.refusal).data();
        if (field.check)
            if (const char* text = field.check(*parsed[i], reading.values)) return text;
        reading.values.set(field.key(), *parsed[i]);
        return nullptr;
    };

    if (model.parseAllFirst) {
        for (std::size_t i = 0; i < model.fields.size(); ++i)
            if (model.fields[i].isRead(s) && !read(i)) return refuse(model.fields[i].incorrect, i);
        for (std::size_t i = 0; i < model.fields.size(); ++i)
            if (model.fields[i].isRead(s))
                if (const char* text = check(i)) return refuse(text, i);
        return reading;
    }
    for (std::size_t i = 0; i < model.fields.size(); ++i) {
        if (!model.fields[i].isRead(s)) continue;
        if (!read(i)) return refuse(model.fields[i].incorrect, i);
        if (const char* text = check(i)) return refuse(text, i);
    }
    return reading;
}

FieldLookup TextLookup(const QueueModelSpec& model, const QueueForm& form) {
    return [&model, &form](std::string_view key) -> std::optional<double> {
        for (std::size_t i = 0; i < model.fields.size(); ++i) {
            const FieldSpec& field = model.fields[i];
            if (field.key() == key && field.isRead(form.selection))
                return ParseAs(field.limit(form.selection), form.fields[i]);
        }
        return std::nullopt;
    };
}

std::string ValueGroupCaption(const QueueModelSpec& model, const ValueGroupLimit& group,
                              const FieldLookup& lookup) {
    if (group.kind != 'N' || !model.nUpperOf) return std::string(group.caption);
    const auto upper = model.nUpperOf(lookup);
    if (!upper) return std::string(group.caption);
    return Format("n-values (<=%d)", {static_cast<long long>(*upper)});
}

RunReading ReadQueueRun(const QueueModelSpec& model, QueueForm& form) {
    form.selection = ClampSelection(model, form.selection);
    FieldReading reading = ReadFields(model, form);
    if (reading.refusal) return {std::nullopt, std::move(reading.refusal)};
    QueueRun run{std::move(reading.values), form.selection, {}};
    if (const OutputSpec* output = model.outputFor(form.selection)) {
        ValueBounds bounds;
        if (const ValueGroupLimit* t = model.group('T')) bounds.tUpper = t->upper;
        if (const ValueGroupLimit* n = model.group('N')) bounds.nUpper = static_cast<int>(n->upper);
        if (model.nUpperOf) {
            const FieldValues& values = run.fields;
            const auto upper =
                model.nUpperOf([&values](std::string_view key) { return values.find(key); });
            if (upper) bounds.nUpper = static_cast<int>(*upper);
        }
        run.output =
            ReadOutput(output->items, form.selection.output, {&form.t, &form.p, &form.n}, bounds);
    }
    return {std::move(run), std::nullopt};
}

void RunQueueModel(const QueueModelSpec& model, QueueForm& form, QueueHost& host) {
    RunGuarded(host, [&] {
        RunReading reading = ReadQueueRun(model, form);
        if (reading.refusal) {
            const int field = reading.refusal->field;
            host.showError(
                std::string(model.refusalTitle), reading.refusal->text,
                field < 0 ? std::string()
                          : std::string(model.fields[static_cast<std::size_t>(field)].editName));
            return;
        }
        model.run(*reading.run, host);
    });
}

}  // namespace wachtrix
