#include "cli/queue_command.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <span>
#include <sstream>

#include "core/queue/queue_keys.h"
#include "core/queue/scenario.h"
#include "core/queue/simulation.h"
#include "core/text/number_parse.h"
#include "core/text/points_csv.h"

namespace wachtrix::cli {
namespace {

std::string Shortest(double v) {
    char buffer[32];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr);
}

std::string ValueGroupKey(char kind) {
    return std::string(1, static_cast<char>(kind - 'A' + 'a'));
}

std::string ValueGroupHelp(const ValueGroupLimit& group) {
    const std::string_view what = !group.help.empty() ? group.help
                                  : group.kind == 'T' ? "t-values for P{Wq>t}"
                                  : group.kind == 'P' ? "p-values for percentiles"
                                                      : "n-values for state probabilities";
    const std::string upper =
        group.upperText.empty() ? Shortest(group.upper) : std::string(group.upperText);
    return std::string(what) + ", up to 12, each <= " + upper;
}

std::string ChoiceHelp(const ChoiceSpec& choice) {
    std::string help;
    for (std::size_t i = 0; i < choice.items.size(); ++i) {
        help += i ? ", " : "";
        help += choice.itemKeys.empty() ? std::to_string(i) : std::string(choice.itemKeys[i]);
        help += " " + std::string(choice.items[i]);
    }
    if (choice.itemKeys.empty()) help += " (default 0)";
    return help;
}

std::string OutputKeyHelp(const QueueModelSpec& model) {
    if (model.outputs.size() == 1) return OutputHelp(model.outputs.front().items);
    const ChoiceSpec& choice = model.choices[static_cast<std::size_t>(model.outputChoice)];
    std::string help;
    for (std::size_t o = 0; o < model.outputs.size(); ++o) {
        std::string items;
        for (std::size_t i = 0; i < model.outputOfItem.size(); ++i)
            if (model.outputOfItem[i] == static_cast<int>(o))
                items += (items.empty() ? "" : ",") + std::to_string(i);
        help += (o ? "; " : "") + std::string(choice.key) + " " + items + ": " +
                OutputHelp(model.outputs[o].items);
    }
    return help;
}

// When a field that only some selections read is needed: "needed for output=0,1,2" where the
// Output item decides, "needed for type=1,2" where one choice does; empty when it is always read.
std::string NeededWhen(const QueueModelSpec& model, const FieldSpec& field) {
    if (field.optional || (!field.shown && !field.enabled)) return {};
    const std::vector<Selection> all = AllSelections(model, true);
    // The key and value of each selection's output or choice `c` (-1: the output).
    const auto value = [&](const Selection& s, int c) {
        return c < 0 ? s.output : s.items[static_cast<std::size_t>(c)];
    };
    for (int c = -1; c < static_cast<int>(model.choices.size()); ++c) {
        if (c >= 0 && model.choices[static_cast<std::size_t>(c)].key.empty()) continue;
        // This output or choice decides when every selection with the same value agrees.
        std::vector<int> read, unread;
        for (const Selection& s : all)
            (field.isRead(s) ? read : unread).push_back(value(s, c));
        if (unread.empty()) return {};
        // Read under no selection the choices list (a staffing target, picked by its key).
        if (read.empty()) break;
        const bool decides = std::none_of(read.begin(), read.end(), [&](int v) {
            return std::find(unread.begin(), unread.end(), v) != unread.end();
        });
        if (!decides) continue;
        std::sort(read.begin(), read.end());
        read.erase(std::unique(read.begin(), read.end()), read.end());
        const std::string key = c < 0 ? std::string("output")
                                      : std::string(model.choices[static_cast<std::size_t>(c)].key);
        std::string values;
        for (const int v : read) {
            const auto& names = c < 0 ? std::span<const std::string_view>{}
                                      : model.choices[static_cast<std::size_t>(c)].itemKeys;
            values += (values.empty() ? "" : ",") +
                      (names.empty() ? std::to_string(v)
                                     : std::string(names[static_cast<std::size_t>(v)]));
        }
        return "needed for " + key + "=" + values;
    }
    return "needed for some choices only";
}

// Choices, then the fields with their ranges (a key that several fields share, or whose limit
// follows a choice, lists each range), the Output group and the value groups.
std::vector<KeyHelp> Keys(const QueueModelSpec& model) {
    std::vector<KeyHelp> keys;
    for (const ChoiceSpec& choice : model.choices) {
        if (choice.key.empty()) continue;
        keys.push_back({std::string(choice.key), ChoiceHelp(choice)});
        if (!choice.alias.empty())
            keys.push_back({std::string(choice.alias),
                            "the same as " + std::string(choice.key) + "= (its earlier name)"});
    }
    for (const FieldSpec& field : model.fields) {
        for (const FieldLimit& limit : field.limits) {
            if (limit.help.empty()) continue;  // a choice that does not read the field
            std::string help = std::string(limit.help) + ", " + RangeText(limit);
            if (const std::string when = NeededWhen(model, field); !when.empty())
                help += "; " + when;
            auto same = std::find_if(keys.begin(), keys.end(),
                                     [&](const KeyHelp& k) { return k.key == limit.key; });
            if (same == keys.end())
                keys.push_back({std::string(limit.key), help});
            else if (same->help.find(help) == std::string::npos)
                same->help += "; " + help;
        }
    }
    if (!model.outputs.empty()) keys.push_back({"output", OutputKeyHelp(model)});
    for (const ValueGroupLimit& group : model.groups)
        keys.push_back({ValueGroupKey(group.kind), ValueGroupHelp(group)});
    if (!model.figures.empty()) {
        std::string figures;
        for (const FigureSpec& figure : model.figures) {
            figures += (figures.empty() ? "" : ", ") + std::string(figure.name);
            if (figure.point) figures += " (at " + ValueGroupKey(figure.point) + "=)";
        }
        keys.push_back({"vary", "a scenario: the key of the field to vary over a range"});
        keys.push_back({"from", "a scenario: the first value"});
        keys.push_back({"to", "a scenario: the last value"});
        keys.push_back({"steps", "a scenario: the number of values (or step=)"});
        keys.push_back({"step", "a scenario: the step between values (or steps=)"});
        keys.push_back({"spacing", "a scenario: lin (default) or log"});
        keys.push_back(
            {"figures", "a scenario: the figures to tabulate, comma-separated, from: " + figures});
    }
    if (model.twin) {
        keys.push_back({"simulate",
                        "simulate N customers per run after a warm-up of N/10 and print each "
                        "figure beside its simulation with a 95% half-width (\"!\": the analysis "
                        "lies more than three half-widths away), 1 to " +
                            std::to_string(kMostSimulatedCustomers)});
        keys.push_back({"runs", "a simulation: the independent runs, 2 to " +
                                    std::to_string(kMostSimulationRuns) + " (default " +
                                    std::to_string(kDefaultSimulationRuns) + ")"});
        keys.push_back({"seed",
                        "a simulation: the seed of the random numbers, a whole number 0 to "
                        "18446744073709551615 (default " +
                            std::to_string(kDefaultSimulationSeed) + ")"});
    } else {
        // Named, so that asking for it gets the reason rather than "unknown key".
        keys.push_back({"simulate", "not offered: " + CheckSimulation(model, {})});
    }
    return keys;
}

// "c=C rho=RHO [output=0..4] [t=T,...]": what a call names; keys read only for some choices
// in brackets.
std::string Usage(const QueueModelSpec& model) {
    std::vector<std::string> words;
    for (const ChoiceSpec& choice : model.choices) {
        if (!choice.itemKeys.empty()) {
            std::string names;
            for (const std::string_view name : choice.itemKeys)
                names += (names.empty() ? "" : "|") + std::string(name);
            words.push_back(std::string(choice.key) + "=" + names);
        } else if (!choice.key.empty()) {
            words.push_back("[" + std::string(choice.key) + "=0.." +
                            std::to_string(choice.items.size() - 1) + "]");
        }
    }
    // Keys that pick an implied choice's item are named with it, not on their own.
    std::vector<std::string> seen;
    for (const ChoiceSpec& choice : model.choices)
        for (const std::string_view implied : choice.impliedBy)
            for (std::string& key : ImpliedKeys(implied))
                seen.push_back(std::move(key));
    for (const FieldSpec& field : model.fields) {
        const std::string key(field.key());
        if (std::find(seen.begin(), seen.end(), key) != seen.end()) continue;
        seen.push_back(key);
        const bool always = !field.shown && !field.enabled && !field.optional;
        const std::string word = key + "=" + KeyPlaceholder(key);
        words.push_back(always ? word : "[" + word + "]");
    }
    for (const ChoiceSpec& choice : model.choices)
        if (!choice.impliedBy.empty())
            words.push_back("(" + ImpliedAlternatives(choice, " | ") + ")");
    if (!model.outputs.empty()) {
        std::size_t most = 0;
        for (const OutputSpec& output : model.outputs)
            most = std::max(most, output.items.size());
        words.push_back("[output=0.." + std::to_string(most - 1) + "]");
    }
    for (const ValueGroupLimit& group : model.groups) {
        const std::string key = ValueGroupKey(group.kind);
        words.push_back("[" + key + "=" + KeyPlaceholder(key) + ",...]");
    }
    if (model.twin) words.push_back("[simulate=N [runs=R] [seed=S]]");
    std::string usage;
    for (const std::string& word : words)
        usage += (usage.empty() ? "" : " ") + word;
    return usage;
}

// A value the readers marked as refused ("**"), with why: "t value \"abc\" is not a number".
// The window shows such a mark and goes on; a script must not get a silently shorter table, so
// the batch tool refuses the whole run.
std::vector<std::string> RefusedValues(const QueueForm& form) {
    std::vector<std::string> refused;
    const auto check = [&](const TEditArray& texts, const char* key, bool whole) {
        for (const std::string& text : texts) {
            if (text.size() < 2 || text.compare(text.size() - 2, 2, "**") != 0) continue;
            const std::string value = text.substr(0, text.size() - 2);
            const bool readable =
                whole ? ParseInt(value).has_value() : ParseReal(value).has_value();
            refused.push_back(std::string(key) + " value \"" + value + "\" " +
                              (readable ? "is out of range"
                               : whole  ? "is not a whole number"
                                        : "is not a number"));
        }
    };
    check(form.t, "t", false);
    check(form.p, "p", false);
    check(form.n, "n", true);
    return refused;
}

constexpr const char* kSimulationKeys[] = {"simulate", "runs", "seed"};

// simulate=N [runs=R] [seed=S]: none when simulate= is not given (runs= and seed= alone are a
// fault).
std::optional<SimulationOptions> SimulationOf(const QueueModelSpec& model, const Arguments& args) {
    if (!args.keys.count("simulate")) {
        for (const char* key : kSimulationKeys)
            if (args.keys.count(key))
                throw UsageError(std::string(key) + "= belongs to a simulation: give simulate=N");
        return std::nullopt;
    }
    SimulationOptions options;
    const auto whole = [&](const char* key) -> long long {
        const std::string text = Text(args, key);
        long long value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc{} || end != text.data() + text.size())
            throw UsageError(std::string(key) + "= needs a whole number");
        return value;
    };
    options.customers = whole("simulate");
    if (args.keys.count("runs")) {
        const long long runs = whole("runs");
        options.runs =
            runs > kMostSimulationRuns ? kMostSimulationRuns + 1 : static_cast<int>(runs);
    }
    if (args.keys.count("seed")) {
        const std::string text = Text(args, "seed");
        const auto [end, error] =
            std::from_chars(text.data(), text.data() + text.size(), options.seed);
        if (error != std::errc{} || end != text.data() + text.size())
            throw UsageError("seed= needs a whole number from 0 to 18446744073709551615");
    }
    if (const std::string why = CheckSimulation(model, options); !why.empty())
        throw UsageError(why);
    return options;
}

constexpr const char* kScenarioKeys[] = {"vary", "from",    "to",     "steps",
                                         "step", "spacing", "figures"};

// figures=NAME,...: the commas inside a name's brackets ("p(i,j,t)") are its own.
std::vector<std::string> FigureNames(const std::string& text) {
    std::vector<std::string> names;
    if (text.empty()) return names;
    std::size_t start = 0;
    int depth = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '(' || text[i] == '{') ++depth;
        if ((text[i] == ')' || text[i] == '}') && depth > 0) --depth;
        if (text[i] == ',' && depth == 0) {
            names.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    names.push_back(text.substr(start));
    return names;
}

double NumberOf(const Arguments& args, const char* key) {
    const auto value = ParseReal(Text(args, key));
    if (!value || !std::isfinite(*value)) throw UsageError(std::string(key) + "= needs a number");
    return *value;
}

// vary=KEY from=A to=B (steps=K | step=S) [spacing=log] figures=NAME,...: a row of figures for
// each value, the other keys as for a single run; --csv prints it comma-separated.
CommandResult RunScenarioCommand(const QueueModelSpec& model, const Arguments& args) {
    for (const char* key : kSimulationKeys)
        if (args.keys.count(key))
            throw UsageError("a scenario is not simulated: give vary= or simulate=, not both");
    Arguments single = args;
    for (const char* key : kScenarioKeys)
        single.keys.erase(key);
    KeyedForm keyed = FormFromKeys(model, single.keys);
    if (!keyed.fault.empty()) throw UsageError(keyed.fault);
    const QueueForm& form = keyed.form;
    ScenarioRequest request;
    request.field = Text(args, "vary");
    request.from = NumberOf(args, "from");
    request.to = NumberOf(args, "to");
    const bool steps = args.keys.count("steps") > 0, step = args.keys.count("step") > 0;
    if (steps == step) throw UsageError("a scenario takes steps=K or step=S");
    if (steps) {
        const auto count = ParseInt(Text(args, "steps"));
        if (!count) throw UsageError("steps= needs a whole number");
        request.count = *count;
    } else {
        request.step = NumberOf(args, "step");
    }
    const std::string spacing = Text(args, "spacing");
    if (spacing != "" && spacing != "lin" && spacing != "log")
        throw UsageError("spacing must be lin or log");
    request.logSpacing = spacing == "log";
    request.figures = FigureNames(Text(args, "figures"));
    // The points of table figures: the first value of t=, p= or n=.
    if (const auto t = ParseReal(form.t[0])) request.t = *t;
    if (const auto p = ParseReal(form.p[0])) request.p = *p;
    if (const auto n = ParseInt(form.n[0])) request.n = *n;
    if (const std::string why = CheckScenario(model, form, request); !why.empty())
        throw UsageError(why);

    const ScenarioTable table = RunScenario(model, form, request);
    TextQueueHost host;
    if (args.csv) {
        std::istringstream lines(ScenarioCsv(table));
        for (std::string line; std::getline(lines, line);)
            host.results().AddResultLine(line);
    } else {
        WriteScenarioTable(host.results(), table);
    }
    const GraphHandle window = host.createGraphWindow(GraphWindowKind::GMC, {table.title});
    for (const ChartPlot& plot : ScenarioPlots(model, table))
        host.plot(window, 0, plot);
    return Collect(host);
}

CommandResult RunQueueCommand(const QueueModelSpec& model, const Arguments& args) {
    // (The M/M/c/c+N graphs have a "vary" of their own, and no scenarios.)
    if (!model.figures.empty() && args.keys.count("vary")) return RunScenarioCommand(model, args);
    if (args.csv) throw UsageError("--csv prints a scenario table: give vary=KEY");
    const std::optional<SimulationOptions> simulation = SimulationOf(model, args);
    Arguments single = args;
    for (const char* key : kSimulationKeys)
        single.keys.erase(key);
    KeyedForm keyed = FormFromKeys(model, single.keys);
    if (!keyed.fault.empty()) throw UsageError(keyed.fault);
    QueueForm& form = keyed.form;
    const QueueForm typed = form;

    TextQueueHost host;
    RunQueueModel(model, form, host);
    if (std::vector<std::string> refused = RefusedValues(form); !refused.empty()) {
        CommandResult result;
        result.errors = std::move(refused);
        return result;
    }
    // The report, then its figures beside their simulation.
    if (simulation && host.errors().empty() && !host.failed())
        WriteSimulationBlock(host.results(), SimulateModel(model, typed, *simulation));
    CommandResult result = Collect(host);
    if (model.curveTable && result.errors.empty()) {
        for (const auto& chart : host.charts())
            for (std::string& line : model.curveTable(chart.plot, form.selection)) {
                result.lines.push_back(std::move(line));
                result.styles.push_back('N');
            }
    }
    return result;
}

// "chart,x,y" then one line per plotted point; chart counts from 1 in plotting order.
std::string ChartCsv(const TextQueueHost& host) {
    std::vector<CsvPoint> points;
    int chart = 0;
    for (const auto& plotted : host.charts()) {
        ++chart;
        for (const auto& p : plotted.plot.points)
            points.push_back({chart, p.x, p.y});
    }
    return PointsCsv({.title = {}, .group = "chart"}, points);
}

}  // namespace

std::string OutputHelp(OutputGroup output) {
    std::string help;
    for (std::size_t i = 0; i < output.size(); ++i)
        help += (i ? ", " : "") + std::to_string(i) + " " + std::string(output[i].caption);
    return help + " (default 0)";
}

CommandResult Collect(const TextQueueHost& host) {
    CommandResult result;
    for (const auto& line : host.lines()) {
        result.lines.push_back(line.text);
        result.styles.push_back(StyleLetter(line.style));
    }
    result.errors = host.errors();
    result.failed = host.failed();
    result.failure = host.failureLines();
    result.csv = ChartCsv(host);
    for (const auto& plotted : host.charts())
        result.chartTitles.push_back(plotted.plot.graphTitle.value_or(""));
    result.drewGraph = !host.charts().empty();
    return result;
}

ModelCommand QueueCommand(const QueueModelSpec& model) {
    return {std::string(model.key),
            std::string(model.summary),
            Usage(model),
            Keys(model),
            0,
            [&model](const Arguments& args) { return RunQueueCommand(model, args); }};
}

}  // namespace wachtrix::cli
