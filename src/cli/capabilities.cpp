#include "cli/capabilities.h"

#include <sstream>

#include "cli/man_page.h"
#include "core/queue/queue_model.h"

namespace wachtrix::cli {
namespace {

// The staffing search is not a model of its own: it runs the models with c servers.
constexpr std::string_view kStaffingKey = "staffing";

const char* const kStaffingText =
    "Staffing finds the smallest number of servers that meets a service level (a waiting-time "
    "tail, a mean wait, a delay probability or an abandonment probability) in the M/M/c, M/D/c, "
    "D/M/c, G/M/c and M/M/c+M queues.";

std::string QueueText() {
    return "The Queue module evaluates " + std::to_string(QueueModelTitles().size()) +
           " queueing models (" + JoinedList(QueueModelTitles()) +
           ") into reports of delay probabilities, mean and spread of the waiting time and the "
           "queue length, tail probabilities, percentiles and state probabilities, and into "
           "logarithmic graphs. Times are measured in mean service times.";
}

std::string MarkovText() {
    return "The Markov module analyses finite Markov chains in discrete or continuous time: " +
           JoinedList(MarkovAnalysisTitles()) + ".";
}

constexpr const char* kNetworkText =
    "The Networks module solves open (Jackson) and closed queueing networks of up to 50 "
    "stations with exponential services, multi-server and delay stations, and tabulates a closed "
    "network's throughput for every population beside its asymptotic bounds.";

// Words wrapped to lines of at most `width` characters.
std::string Wrapped(const std::string& text, std::size_t width) {
    std::istringstream words(text);
    std::string out, line;
    for (std::string w; words >> w;) {
        if (!line.empty() && line.size() + 1 + w.size() > width) {
            out += line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + w;
    }
    return out + line;
}

std::string XmlEscape(std::string_view text) {
    std::string out;
    for (const char c : text)
        out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
    return out;
}

}  // namespace

std::vector<std::string> QueueModelTitles() {
    std::vector<std::string> titles;
    for (const QueueModelSpec* model : QueueModels())
        if (model->key != kStaffingKey) titles.emplace_back(model->helpTitle);
    return titles;
}

std::vector<std::string> MarkovAnalysisTitles() {
    return {"chain structure (recurrent subchains and transient states)",
            "steady state and average cost", "transient probabilities, sojourn times and costs",
            "first-passage time probabilities",
            "mean first-passage times, and absorption probabilities, times, visits and costs"};
}

std::string JoinedList(const std::vector<std::string>& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? "" : i + 1 == items.size() ? " and " : ", ") + items[i];
    return text;
}

std::string ProgramManPage(std::string_view version) {
    std::string page = ".TH WACHTRIX 1 \"\" \"Wachtrix " + RoffEscape(version) +
                       "\" \"User Commands\"\n"
                       // Model names such as M/M/c/c+N are not to be hyphenated.
                       ".nh\n"
                       ".SH NAME\nwachtrix \\- calculator for queueing models and Markov chains\n"
                       ".SH SYNOPSIS\n.B wachtrix\n.RB [ \\-\\-reset\\-settings ]\n"
                       ".SH DESCRIPTION\n.B wachtrix\n";
    page += RoffEscape("opens the Wachtrix window. " + QueueText()) + "\n.PP\n";
    page += RoffEscape(kStaffingText) + "\n.PP\n";
    page += RoffEscape(MarkovText()) + "\n.PP\n";
    page += RoffEscape(std::string(kNetworkText) +
                       " Each module's Help opens the help pages, which "
                       "describe its fields.") +
            "\n.PP\n";
    page += RoffEscape(
                "The program remembers from one session to the next where its windows were, "
                "the last inputs of every queue tab and of the Markov dialog (not the chain "
                "itself), the folders of its file dialogs and the last eight chain files. "
                "A value it cannot use is passed over and its default taken instead.") +
            "\n.SH OPTIONS\n"
            ".TP\n.B \\-\\-reset\\-settings\n"
            "Forget what earlier sessions remembered, and start as the first time.\n"
            ".TP\n.BR \\-h \", \" \\-\\-help\n"
            "Print the options and exit.\n"
            ".TP\n.BR \\-v \", \" \\-\\-version\n"
            "Print the version and exit.\n"
            ".PP\nQt's options, such as\n"
            ".BR \\%\\-platform ,\napply as well.\n"
            ".SH FILES\n"
            ".TP\n.I ~/.config/Wachtrix/Wachtrix.conf\n"
            "What the program remembers between sessions (its \\(lqFile \\(-> Reset "
            "Settings\\(rq forgets it).\n"
            ".SH SEE ALSO\n.BR wachtrix\\-report (1)\n";
    return page;
}

std::string MetainfoDescription() {
    std::string xml = "  <description>\n    <p>\n      " +
                      XmlEscape(
                          "Wachtrix is a calculator for queueing theory and Markov chains, "
                          "made for operations-research courses and for practice.") +
                      "\n    </p>\n    <p>Queueing models:</p>\n    <ul>\n";
    for (const std::string& title : QueueModelTitles())
        xml += "      <li>" + XmlEscape(title) + "</li>\n";
    xml += "    </ul>\n    <p>\n      " + XmlEscape(kStaffingText) + "\n    </p>\n";
    xml += "    <p>Markov chain analyses, in discrete or continuous time:</p>\n    <ul>\n";
    for (const std::string& title : MarkovAnalysisTitles())
        xml += "      <li>" + XmlEscape(title) + "</li>\n";
    xml += "    </ul>\n    <p>\n      " + XmlEscape(kNetworkText) + "\n    </p>\n";
    xml +=
        "    <p>\n      The command wachtrix-report prints the same reports from "
        "scripts.\n    </p>\n  </description>";
    return xml;
}

std::string PackageDescription() {
    return Wrapped(QueueText() + " " + kStaffingText + " " + MarkovText() + " " + kNetworkText +
                       " wachtrix-report prints the same reports from scripts.",
                   78);
}

}  // namespace wachtrix::cli
