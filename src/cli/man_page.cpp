#include "cli/man_page.h"

#include "cli/commands.h"
#include "cli/report_tool.h"

namespace wachtrix::cli {
namespace {

constexpr ManExample kExamples[] = {
    {"Waiting-time tail probabilities of an M/M/c queue with two servers at load 0.8:",
     "mmc c=2 rho=0.8 output=1 t=1,0.5,2"},
    {"The 90% and 99% waiting-time percentiles of an M/G/1 queue with Coxian-2 services:",
     "mg1 service=1 cs2=2 rho=0.7 output=2 p=0.9,0.99"},
    {"The standard statistics of a machine-repair queue, each line marked with its style:",
     "finsrc service=0 c=2 M=10 nu=0.1 --styles"},
    {"The M/M/c figures beside a simulation of ten runs of 100000 customers, 95% half-widths:",
     "mmc c=2 rho=0.8 simulate=100000 runs=10 seed=1"},
    {"Two-moment approximations of a G/G/c queue, checked by simulation:",
     "ggc c=3 rho=0.9 ca2=4 cs2=2 simulate=100000"},
    {"The graph points of a D/M/c queue saved for a spreadsheet:",
     "dmc c=3 rho=0.9 output=5 --graph-csv dmc.csv"},
    {"The equilibrium distribution of a chain saved by the Markov module:",
     "markov chain.txt analysis=steady"},
    {"The probabilities of states 1 and 2 after 10 and 100 steps, starting in state 1:",
     "markov chain.txt analysis=transient initial=1 times=10,100 end=1,2"},
    {"The throughput and mean cycle time of a closed network for every population up to its own:",
     "network closed.txt analysis=populations"},
};

// A paragraph of plain text, one line of roff.
void Text(std::string& page, std::string_view text) {
    page += RoffEscape(text) + "\n";
}

void Bold(std::string& page, std::string_view text) {
    page += "\\fB" + RoffEscape(text) + "\\fR";
}

void Italic(std::string& page, std::string_view text) {
    page += "\\fI" + RoffEscape(text) + "\\fR";
}

// A tagged paragraph: the tag on its own line, the text indented below or beside it.
void Item(std::string& page, std::string_view tag, std::string_view argument,
          std::string_view text) {
    page += ".TP\n";
    Bold(page, tag);
    if (!argument.empty()) {
        page += " ";
        Italic(page, argument);
    }
    page += "\n";
    Text(page, text);
}

void Synopsis(std::string& page, std::string_view words) {
    Bold(page, "wachtrix-report");
    page += " ";
    Text(page, words);
}

}  // namespace

std::span<const ManExample> ManExamples() {
    return kExamples;
}

std::string RoffEscape(std::string_view text) {
    std::string out;
    // A "." or "'" at the start of a line would make it a request.
    if (!text.empty() && (text.front() == '.' || text.front() == '\'')) out += "\\&";
    for (const char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')  // a minus to type, not a hyphen to typeset
            out += "\\-";
        else
            out += c;
    }
    return out;
}

std::string ManPage(std::string_view version) {
    std::string page =
        ".TH WACHTRIX\\-REPORT 1 \"\" \"Wachtrix " + RoffEscape(version) + "\" \"User Commands\"\n";
    // Keys, ranges and calls are copied into scripts: no hyphenation, no stretched blanks.
    page += ".nh\n.ad l\n";
    page +=
        ".SH NAME\nwachtrix\\-report \\- print the report of a queueing model, a Markov "
        "chain analysis or a queueing network\n";

    page += ".SH SYNOPSIS\n";
    for (const std::string_view words : ToolSynopsis()) {
        Synopsis(page, words);
        page += ".br\n";
    }

    page += ".SH DESCRIPTION\n";
    Text(page, kToolPurpose);
    page += ".PP\n";
    Text(page,
         "Each model takes its parameters as KEY=VALUE words; the keys, their ranges and the "
         "report are those of the model's tab in the Wachtrix queue window. Numbers use \".\" "
         "as the decimal separator, whatever the locale. A value group (t, p, n) takes up to "
         "twelve values separated by commas. Times are measured in mean service times.");
    page += ".PP\n";
    Text(page,
         "simulate=N adds a simulation of the model's system after its report: R independent "
         "runs (runs=R, default 10) of N customers each after a warm-up of N/10, the random "
         "numbers from seed=S (default 1). Each figure of the report is shown beside the mean of "
         "its R run values and the half-width of their 95% confidence interval (Student's t with "
         "R-1 degrees of freedom); a row ends in \"!\" when the analysis lies more than three "
         "half-widths from the simulation.");
    page += ".PP\n";
    Text(page, "The report goes to standard output, messages to standard error.");

    page += ".SH OPTIONS\n";
    for (const OptionHelp& o : ToolOptions())
        Item(page, o.option, o.argument, o.help);

    page += ".SH MODELS\n";
    for (const ModelCommand& c : Commands()) {
        page += ".SS " + RoffEscape(c.name) + "\n";
        Text(page, c.summary);
        page += ".PP\n";
        Synopsis(page, c.name + " " + c.usage);
        for (const KeyHelp& k : c.keys)
            Item(page, k.key, "", k.help);
    }

    page += ".SH EXIT STATUS\n";
    for (const ExitStatusHelp& e : ExitStatuses())
        Item(page, std::to_string(e.code), "", e.meaning);

    page += ".SH EXAMPLES\n";
    for (const ManExample& e : kExamples) {
        page += ".PP\n";
        Text(page, e.what);
        page += ".PP\n.RS\n";
        Text(page, "wachtrix-report " + std::string(e.words));
        page += ".RE\n";
    }

    page += ".SH SEE ALSO\n.BR wachtrix (1)\n";
    return page;
}

}  // namespace wachtrix::cli
