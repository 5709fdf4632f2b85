#include "core/queue/gmc.h"

#include <cmath>

#include "core/numeric/log_gamma.h"
#include "core/numeric/numerical_failure.h"
#include "core/numeric/root_finders.h"
#include "core/numeric/safe_math.h"
#include "core/queue/graph_points.h"
#include "core/queue/queue_simulator.h"
#include "core/queue/report.h"
#include "core/queue/standard_report.h"
#include "core/text/delphi_format.h"
#include "core/text/number_format.h"

namespace wachtrix {
namespace {

using Real = long double;

// A root of f between x1 and x2: an end where |f| <= 1e-18 is taken as it is; otherwise halving
// from the end where f is negative down to steps of 1e-18.
template <class F>
Real DecayRootSearch(F&& f, Real x1, Real x2) {
    const Real f1 = f(x1), f2 = f(x2);
    if (std::fabs(f1) <= 1e-18L) return x1;
    if (std::fabs(f2) <= 1e-18L) return x2;
    if (f1 * f2 >= 0) throw NumericalFailure({"Error : No correct interval for bisection !"});
    return BisectToNegativeEnd<Real>(f, x1, x2, f1, 1e-18L, 1000,
                                     {"Error : Too many bisections", ""});
}

// The decay root is searched in u = ln x, from just below 1 down to x = 1e-300: at the lightest
// loads accepted it can be 1e-40 (Erlang arrivals of many phases), far below any fixed lower end
// in x, and steps of 1e-18 in u keep its relative digits at every size.
constexpr Real kLowestLogRoot = -690.7755278982137L;  // ln 1e-300

// The interarrival time's transform A*.
struct Transform {
    GmcArrivals arrivals;
    double rho;
    int c;
    ErlangFit erlang;
    Coxian2Fit coxian;

    Real operator()(Real s) const {
        switch (arrivals) {
            case GmcArrivals::Deterministic:
                return SafeExp(-s / (static_cast<Real>(c) * rho));
            case GmcArrivals::Erlangian:
                return (1 + s * erlang.p / erlang.nu) *
                       SafePower(erlang.nu / (s + erlang.nu), erlang.k);
            default: {
                // In extended precision throughout: next to CA2 = 0.5 the weights are large and
                // of opposite sign, and A* is their small difference.
                const Real mu1 = coxian.mu1, mu2 = coxian.mu2, p = coxian.p, q = coxian.q;
                return p * mu1 / (mu1 + s) + q * mu2 / (mu2 + s);
            }
        }
    }

    // (A*(s) - A*(j)) / (s - j), the derivative at s = j, without the cancellation of the plain
    // difference when s is close to j.
    Real slope(Real s, Real j) const {
        const Real delta = s - j;
        switch (arrivals) {
            case GmcArrivals::Deterministic: {
                const Real m = static_cast<Real>(c) * rho;
                const Real at = std::exp(-j / m);
                return delta == 0 ? -at / m : at * std::expm1(-delta / m) / delta;
            }
            case GmcArrivals::Erlangian: {
                // A* = (1 + p x / nu) g(x) with g(x) = (nu / (nu + x))^k.
                const auto [k, p, nu] = erlang;
                const Real g = std::pow(nu / (nu + j), k);
                const Real gSlope = delta == 0
                                        ? -k * g / (nu + j)
                                        : g * std::expm1(-k * std::log1p(delta / (nu + j))) / delta;
                return gSlope * (1 + p * s / nu) + p / nu * g;
            }
            default: {
                const Real mu1 = coxian.mu1, mu2 = coxian.mu2, p = coxian.p, q = coxian.q;
                return -p * mu1 / ((mu1 + s) * (mu1 + j)) - q * mu2 / ((mu2 + s) * (mu2 + j));
            }
        }
    }
};

Real DecayRoot(const Transform& A) {
    const Real c = A.c, rho = A.rho;
    // With x = e^u: 1 - x = -expm1(u) and s = c (1 - x), both without cancellation near x = 1.
    const auto search = [](auto&& f, Real x1) {
        return std::exp(DecayRootSearch(f, std::log(x1), kLowestLogRoot));
    };
    switch (A.arrivals) {
        case GmcArrivals::Deterministic:
            return search([&](Real u) { return -std::expm1(u) + rho * u; }, rho);
        case GmcArrivals::Erlangian: {
            const Real k = A.erlang.k, p = A.erlang.p, nu = A.erlang.nu;
            return search(
                [&](Real u) {
                    const Real s = -c * std::expm1(u);
                    return u + k * std::log1p(s / nu) - std::log1p(s * p / nu);
                },
                0.9999999L);
        }
        default: {
            const Real mu1 = A.coxian.mu1, mu2 = A.coxian.mu2, p = A.coxian.p, q = A.coxian.q;
            return search(
                [&](Real u) {
                    const Real s = -c * std::expm1(u);
                    return std::log((s + mu2) * p * mu1 + (s + mu1) * q * mu2) - std::log(s + mu2) -
                           u - std::log(s + mu1);
                },
                0.9999999L);
        }
    }
}

// Takacs' boundary sum S, with Pwait = 1 / (1 + (1 - sigma) S). The factor
// (c (1 - A*(j)) - j) / (c (1 - sigma) - j) of each term is 1 + c (A*(s) - A*(j)) / (s - j) at
// s = c (1 - sigma), since sigma = A*(s): as a slope of A* it keeps its digits when s is close
// to j and needs no separate limit form.
Real TakacsSum(const Transform& A, Real sigma) {
    const int c = A.c;
    const auto L = LogFactorialTable<Real>(c);
    const Real s = c * (1 - sigma);
    Real G = 0, S = 0;
    for (int j = 1; j <= c; ++j) {
        const Real b = A(j);
        G += SafeLn(b / (1 - b));
        const Real e = SafeExp(L[c] - L[j] - L[c - j] - G - SafeLn(1 - b));
        S += e * (1 + c * A.slope(s, j));
    }
    return S;
}

// The busy probability (all c servers busy) by the two-phase recursion over the boundary levels
// from the auxiliary root r2. Its own delay probability 1 - (X + Y) / W loses every digit once it
// is below 1e-16 or so, which is why the delay comes from Takacs' sum and this value only checks
// it.
Real CoxianBusy(const Transform& A, double ca2) {
    const int c = A.c;
    const Real rho = A.rho, load = c * rho;
    const Real mu1 = A.coxian.mu1, mu2 = A.coxian.mu2, p = A.coxian.p, q = A.coxian.q;
    Real a = p, b = q;
    if (std::fabs(ca2 - 1) >= 1e-9) {
        const Real r2 = DecayRootSearch(
            [&](Real x) {
                return (mu1 * x * x + mu2 - (mu1 + mu2) * x) -
                       (c * x * x / (c * x + mu2)) * (mu1 * x - (p * mu1 + q * mu2));
            },
            0.999999999999L, 1e-12L);
        const Real theta = mu2 / r2;
        const Real h = p * mu1 / (mu1 - theta) + q * mu2 / (mu2 - theta);
        const Real phi = mu1 + mu2 - theta - (p * mu1 + q * mu2) / h;
        const Real Acoef = (mu2 - mu1) * q / (mu2 - phi);
        const Real Bcoef = (mu1 - mu2) * p / (mu1 - phi);
        const Real Ccoef = (p * Acoef + q * Bcoef) / h;
        a = (Bcoef - Ccoef) / (Bcoef - Acoef);
        b = (Acoef - Ccoef) / (Acoef - Bcoef);
    }
    Real x = a, y = b, U = 0, V = 0;
    for (int j = c - 1; j >= 0; --j) {
        const Real d = load / (j * (mu2 * q + mu1 * p) + mu1 * mu2);
        const Real u = (j * y * p + (j * p + mu2) * x) * d;
        const Real v = (j * x * q + (j * q + mu1) * y) * d;
        U += u;
        V += v;
        x = j * u / load;
        y = j * v / load;
    }
    const Real W = (rho / (1 - rho)) * (mu1 * b + mu2 * a) / (mu2 * p + mu1 * q) + U + V;
    return 1 - (U + V) / W;
}

}  // namespace

bool GmcRhoTooSmall(GmcArrivals arrivals, int c, double ca2, double rho) {
    double threshold;
    switch (arrivals) {
        case GmcArrivals::Deterministic:
            if (c <= 10)
                threshold = 0.03 * std::sqrt(1.5 * c);
            else if (c <= 100)
                threshold = 0.05 * std::sqrt(1.5 * c);
            else if (c <= 130)
                threshold = 0.61;
            else if (c <= 180)
                threshold = 0.66;
            else if (c <= 500)
                threshold = 0.7;
            else
                threshold = 0.75;
            break;
        case GmcArrivals::Erlangian: {
            // Rows: the last c of each band; columns: CA2 <= 0.1, <= 0.5, above.
            static constexpr struct {
                int cUpTo;
                double threshold[3];
            } kRows[] = {
                {1, {0.01, 1e-5, 1e-9}},   {2, {0.02, 4e-4, 1e-5}},   {3, {0.06, 0.01, 1e-3}},
                {4, {0.09, 0.04, 1e-3}},   {10, {0.12, 0.05, 0.01}},  {15, {0.23, 0.14, 0.08}},
                {20, {0.3, 0.2, 0.1}},     {25, {0.35, 0.25, 0.15}},  {50, {0.39, 0.3, 0.2}},
                {100, {0.51, 0.44, 0.35}}, {150, {0.62, 0.55, 0.5}},  {200, {0.65, 0.6, 0.55}},
                {500, {0.7, 0.7, 0.7}},    {1000, {0.75, 0.75, 0.75}}};
            const int band = ca2 <= 0.1 ? 0 : ca2 <= 0.5 ? 1 : 2;
            threshold = kRows[std::size(kRows) - 1].threshold[band];
            for (const auto& row : kRows) {
                if (c <= row.cUpTo) {
                    threshold = row.threshold[band];
                    break;
                }
            }
            break;
        }
        default:
            if (c == 1)
                threshold = ca2 > 0.95 ? 1e-7 : 1e-6;
            else if (c <= 10)
                threshold = 1e-4;
            else if (c <= 50)
                threshold = 1e-3;
            else if (c <= 100)
                threshold = 0.01;
            else if (c <= 200)
                threshold = 0.1;
            else if (c <= 500)
                threshold = 0.25;
            else
                threshold = 0.4;
    }
    return rho <= threshold;
}

ErlangFit FitErlang(double ca2, int c, double rho) {
    ErlangFit fit;
    fit.k = static_cast<int>(std::trunc(1 / ca2 - 1e-10)) + 1;
    const double k = fit.k;
    fit.p = k * (k * ca2 - 1) / (k * ca2 + std::sqrt(k * (ca2 + 1 - k * ca2)));
    fit.nu = c * (k - fit.p) * rho;
    return fit;
}

double NudgeCoxianCa2(double ca2) {
    if (std::fabs(ca2 - 0.5) <= 1e-9) return 0.50000001;
    if (std::fabs(ca2 - 1) <= 1e-10) return 1.000000001;
    return ca2;
}

Coxian2Fit FitCoxian2(GmcArrivals fit, double ca2, int c, double rho) {
    const double m = c * rho;
    Coxian2Fit f;
    if (fit == GmcArrivals::CoxianGamma) {
        f.mu1 = 2 * m * (1 + std::sqrt((ca2 - 0.5) / (ca2 + 1)));
        f.mu2 = 4 * m - f.mu1;
        f.p = (f.mu2 / m - 1) * f.mu1 / (f.mu2 - f.mu1);
        f.q = 1 - f.p;
    } else if (std::fabs(ca2 - 1) <= 1e-12) {
        f = {3 * m, m, 0, 1};
    } else if (ca2 < 1) {
        f.mu2 = 2 * m / (1 + std::sqrt(2 * ca2 - 1));
        f.mu1 = m * f.mu2 / (f.mu2 - m);
        f.q = f.mu1 / (f.mu1 - f.mu2);
        f.p = 1 - f.q;
    } else {
        f.p = (1 + std::sqrt((ca2 - 1) / (ca2 + 1))) / 2;
        f.q = 1 - f.p;
        f.mu1 = 2 * f.p * m;
        f.mu2 = 2 * f.q * m;
    }
    return f;
}

GmcSolution SolveGMC(GmcArrivals arrivals, double ca2, int c, double rho) {
    GmcSolution s;
    s.arrivals = arrivals;
    s.c = c;
    s.rho = rho;
    Transform A{arrivals, rho, c, {}, {}};
    if (arrivals == GmcArrivals::Deterministic) {
        s.ca2 = 0;
    } else if (arrivals == GmcArrivals::Erlangian) {
        s.ca2 = ca2;
        A.erlang = FitErlang(ca2, c, rho);
    } else {
        s.ca2 = NudgeCoxianCa2(ca2);
        A.coxian = FitCoxian2(arrivals, s.ca2, c, rho);
    }
    const Real sigma = DecayRoot(A);
    const Real Pstar = 1 / (1 / (1 - sigma) + TakacsSum(A, sigma)) / sigma;
    if (arrivals == GmcArrivals::CoxianGamma || arrivals == GmcArrivals::CoxianBalanced)
        s.accuracy =
            static_cast<double>(std::fabs(CoxianBusy(A, s.ca2) - rho * Pstar / (1 - sigma)));
    s.sigma = static_cast<double>(sigma);
    s.Pstar = static_cast<double>(Pstar);
    static_cast<GimcStatistics&>(s) = GimcStatisticsOf(c, rho, sigma, Pstar);
    return s;
}

double GmcWaitingTail(const GmcSolution& s, double t) {
    return static_cast<double>(s.Pwait * SafeExp(-s.c * (1 - s.sigma) * t));
}

double GmcPercentile(const GmcSolution& s, double p) {
    if (p <= 1 - s.Pwait) return -1;
    return (std::log(s.Pwait) - std::log(1 - p)) / (s.c * (1 - s.sigma));
}

std::string GmcAccuracyLine(const GmcSolution& s) {
    if (s.arrivals == GmcArrivals::Deterministic || s.arrivals == GmcArrivals::Erlangian)
        return "Accuracy Check = 0.00000000";
    return Format("Accuracy Check = %s", {FormatShortG(s.accuracy)});
}

std::vector<ChartPoint> GmcWaitingGraphPoints(const GmcSolution& s) {
    return ExponentialWaitingGraphPoints(s.Pwait, s.c * (1 - s.sigma));
}

namespace {

// The title suffixes and graph labels of the arrival types.
constexpr const char* kTitleSuffix[] = {" (Deterministic arrivals)", " (Erlangian arrivals)",
                                        " (Coxian-2 arrivals, gamma)",
                                        " (Coxian-2 arrivals, balanced)"};
constexpr const char* kServiceLabel[] = {"Deterministic arrivals", "Erlangian arrivals",
                                         "Coxian-2 arrivals, gamma", "Coxian-2 arrivals, balanced"};

struct GmcParameters {
    GmcArrivals arrivals;
    double ca2;  // 0 for deterministic arrivals
    int c;
    double rho;
    OutputRequest output;
    GraphHandle graph = kNoGraph;
};

// Deterministic arrivals have CA2 = 0; the tab's field is then not read.
GmcParameters Parameters(const QueueRun& run, QueueHost& host) {
    const int type = run.selection.item(0);
    GmcParameters p{static_cast<GmcArrivals>(type), run.fields.find("ca2").value_or(0),
                    run.fields.integer("c"), run.fields["rho"], run.output};
    if (p.output.mode == kGraphs)
        p.graph = host.createGraphWindow(
            GraphWindowKind::GMC,
            {"Logarithmic Graph of the G/M/c queue", Format("CA2 = %.4g", {p.ca2}),
             Format("c = %d", {p.c}), Format("rho = %.4g", {p.rho}), kServiceLabel[type]});
    return p;
}

StandardReport Report(const GmcSolution& s) {
    return {std::string("G/M/c queue") + kTitleSuffix[static_cast<int>(s.arrivals)],
            Format("Parameters: c=%d  rho=%.6g  CA2=%.5g", {s.c, s.rho, s.ca2}),
            {s.Pwait, s.EWq, s.ELq, s.StdWq, s.StdLq, s.accuracy},
            s.Pbusy,
            {.waitingTail = [&s](double t) { return GmcWaitingTail(s, t); },
             .percentile = [&s](double p) { return GmcPercentile(s, p); }},
            [&s](double) { return GmcAccuracyLine(s); }};
}

}  // namespace

namespace {

void RunGmc(const QueueRun& run, QueueHost& host) {
    const GmcParameters p = Parameters(run, host);
    ResultWriter& out = host.results();
    if (GmcRhoTooSmall(p.arrivals, p.c, p.ca2, p.rho)) {
        WriteRunMessage(out, "Rho is too small for reliable results");
        return;
    }
    const auto busy = host.busy();
    const GmcSolution s = SolveGMC(p.arrivals, p.ca2, p.c, p.rho);
    WriteStandardReport(out, Report(s), p.output);
    if (p.output.mode != kGraphs) return;
    PlotConditionalWaitingGraph(host, p.graph, s.Pwait, "Pdelay is too small for meaningful graphs",
                                [&] { return MarksOrLine(GmcWaitingGraphPoints(s)); });
}

// The CA2 field first: it has always been read before c and rho.
constexpr FieldSpec kFields[] = {
    {.editName = "GMC_CA2_Edit",
     .caption = "CA2:",
     .limits = kGmcCa2Limits,
     .incorrect = "CA2 incorrect",
     .outOfRange = "CA2 out of range",
     .limitChoice = 0,
     .enabled = [](const Selection& s) { return GmcRandomArrivals(s.item(0)); },
     .disabledText = "0"},
    {"GMC_C_edit", "C:", One(kGmcServers), "c incorrect", "c out of range"},
    {"GMC_Rho_edit", "Rho:", One(kGmcLoad), "rho incorrect", "rho out of range"},
};
constexpr ChoiceSpec kChoices[] = {{.key = "arrivals",
                                    .objectName = "GMC_Arrivals_RadioGroup",
                                    .title = "Arrivals Distribution",
                                    .items = kGmcArrivalItems}};
constexpr OutputSpec kOutputs[] = {{"GMC_Output_RadioGroup", "Output", kWaitingOutput}};
constexpr LayoutItem kLayout[] = {{Slot::Field, 1},  {Slot::Field, 2}, {Slot::Field, 0},
                                  {Slot::Choice, 0}, {Slot::Outputs},  {Slot::ValueGroups}};

constexpr auto kFigures = JoinFigures(kStatisticsFigures, kWaitingFigures);

// The arrival fit the solution's transform describes, at the CA2 the report shows.
QueueTwin GmcTwin(const QueueRun& run) {
    const auto arrivals = static_cast<GmcArrivals>(run.selection.item(0));
    const int c = run.fields.integer("c");
    const double rho = run.fields["rho"], ca2 = run.fields.find("ca2").value_or(0);
    QueueTwin twin;
    twin.servers = c;
    twin.service = ExponentialTime(1);
    switch (arrivals) {
        case GmcArrivals::Deterministic:
            twin.arrivals = DeterministicTime(1 / (c * rho));
            break;
        case GmcArrivals::Erlangian:
            twin.arrivals = ErlangMixTime(FitErlang(ca2, c, rho));
            break;
        default:
            twin.arrivals = TwoExponentialTime(FitCoxian2(arrivals, NudgeCoxianCa2(ca2), c, rho));
    }
    return twin;
}

}  // namespace

constinit const QueueModelSpec kGmcModel{
    .key = "gmc",
    .caption = "G/M/c",
    .title = "G/M/c Queue",
    .sheetName = "GMC_TabSheet",
    .prefix = "GMC",
    .helpContext = 150,
    .helpPage = "gmc.html",
    .helpTitle = "G/M/c",
    .summary = "G/M/c queue: c exponential servers, renewal arrivals fitted to CA2",
    .example = "arrivals=1 ca2=0.5 c=2 rho=0.8",
    .fields = kFields,
    .choices = kChoices,
    .outputs = kOutputs,
    .groups = kGmcGroups,
    .parseAllFirst = true,
    .layout = kLayout,
    .figures = kFigures,
    .run = RunGmc,
    .twin = GmcTwin,
};

}  // namespace wachtrix
