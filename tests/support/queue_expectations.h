#pragma once
// Shapes every queue model's results share, checked in one line per model; and a printed figure
// against a reference computed another way: right to one unit in its last printed digit, and a
// lone 0 only where the reference is below 1e-30, in every format.
//
//   PrintedFigure(lines, "E(Wq)")      -> "1.3888E-023" from "         E(Wq)   = 1.3888E-023"
//   ExpectPrinted("1.3888E-023", 1.38884e-23) passes, ExpectPrinted("1.3887E-023", ...) fails

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/queue/chart_plot.h"
#include "core/text/delphi_format.h"
#include "core/text/number_parse.h"
#include "support/expect_near.h"
#include "support/recording_host.h"

namespace wachtrix::testing {

enum class AtNoWaitMass { Zero, Undefined };

// A waiting-time percentile is undefined (negative) below P{Wq = 0} = noWait, zero or undefined
// at it as the model says, and above it the time where the tail has fallen to 1 - p.
template <class Percentile, class Tail>
void ExpectPercentiles(Percentile&& percentile, Tail&& tail, double noWait, AtNoWaitMass atMass,
                       double relative, std::initializer_list<double> ps = {0.9, 0.99, 0.999999}) {
    EXPECT_LT(percentile(noWait / 2), 0);
    EXPECT_LT(percentile(noWait - 1e-6), 0);
    if (atMass == AtNoWaitMass::Zero) {
        EXPECT_EQ(percentile(noWait), 0);
    } else {
        EXPECT_LT(percentile(noWait), 0);
    }
    for (const double p : ps) {
        if (p <= noWait) continue;
        const double x = percentile(p);
        ASSERT_GT(x, 0) << p;
        EXPECT_REL_NEAR(tail(x), 1 - p, relative) << p;
    }
}

// A conditional curve of a model: every point is y(x) and the list ends at its first point at or
// below 0.001.
template <class Y>
void ExpectConditionalCurve(const std::vector<ChartPoint>& points, Y&& y, double relative) {
    ASSERT_GE(points.size(), 2u);
    for (const ChartPoint& p : points)
        EXPECT_REL_NEAR(p.y, y(p.x), relative) << "x = " << p.x;
    EXPECT_LE(points.back().y, 0.001 * (1 + 1e-6));
    EXPECT_GT(points[points.size() - 2].y, 0.001);
}

// The states 0, 1, ..., last, for a table of them.
inline std::vector<int> UpTo(int last) {
    std::vector<int> n(static_cast<std::size_t>(last) + 1);
    for (int i = 0; i <= last; ++i)
        n[static_cast<std::size_t>(i)] = i;
    return n;
}

// A distribution given as P{L = n} and P{L > n} (`state(n)` returns a StateProbability) over
// n = 0..last: it sums to one and every tail is what the sum so far leaves. Returns the mean.
template <class State>
long double ExpectDistribution(State&& state, int last, double tolerance) {
    long double sum = 0, mean = 0;
    for (int n = 0; n <= last; ++n) {
        const auto p = state(n);
        sum += p.equal;
        mean += n * static_cast<long double>(p.equal);
        EXPECT_NEAR(p.greater, static_cast<double>(1 - sum), tolerance) << "n = " << n;
    }
    EXPECT_NEAR(static_cast<double>(sum), 1, tolerance);
    return mean;
}

inline constexpr long double kFigureFloor = 1e-30L;

// The text after "NAME" and its "= " on the first line that names it (the statistics blocks).
inline std::string PrintedFigure(const std::vector<std::string>& lines, const std::string& name) {
    for (const std::string& line : lines) {
        const auto at = line.find(name);
        if (at == std::string::npos) continue;
        const auto eq = line.find("= ", at + name.size());
        if (eq == std::string::npos) continue;
        const auto start = line.find_first_not_of(' ', eq + 2);
        return start == std::string::npos ? std::string() : line.substr(start);
    }
    return {};
}

// One unit in the last printed digit of a number's text: "1.234E-017" -> 1e-20, "0.0010" ->
// 1e-4, "12" -> 1.
inline long double LastDigitUnit(const std::string& text) {
    const auto e = text.find_first_of("eE");
    const std::string mantissa = text.substr(0, e);
    const auto point = mantissa.find('.');
    const int decimals =
        point == std::string::npos ? 0 : static_cast<int>(mantissa.size() - point - 1);
    const int exponent = e == std::string::npos ? 0 : std::stoi(text.substr(e + 1));
    return std::pow(10.0L, exponent - decimals);
}

inline ::testing::AssertionResult PrintedRight(const std::string& text, long double reference,
                                               long double zeroFloor = kFigureFloor) {
    const auto value = ParseReal(text);
    if (!value) return ::testing::AssertionFailure() << "\"" << text << "\" is no number";
    reference = std::fabs(reference);
    // A lone 0 stands for "below the floor"; a fixed 0.000000 is a figure like any other.
    if (*value == 0 && text.find('.') == std::string::npos) {
        if (reference < zeroFloor) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "prints 0, but the reference is " << static_cast<double>(reference);
    }
    const long double unit = LastDigitUnit(text);
    if (std::fabs(*value - reference) <= unit * (1 + 1e-9L)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "prints " << text << ", the reference is " << static_cast<double>(reference)
           << " (one unit " << static_cast<double>(unit) << ")";
}

// The report of a batch call's words.
inline std::vector<std::string> ReportOf(const std::string& call) {
    RecordingHost host;
    RunRecorded(host, call);
    return host.texts();
}

}  // namespace wachtrix::testing

#define EXPECT_PRINTED(lines, name, reference)                                                     \
    EXPECT_TRUE(::wachtrix::testing::PrintedRight(::wachtrix::testing::PrintedFigure(lines, name), \
                                                  (reference)))                                    \
        << name

namespace wachtrix::testing {

// The words of the table row whose first word is `first` ("40" of "  40  1.234E-010  ...").
inline std::vector<std::string> TableRow(const std::vector<std::string>& lines,
                                         const std::string& first) {
    for (const std::string& line : lines) {
        const std::vector<std::string> w = Words(line);
        if (!w.empty() && w[0] == first) return w;
    }
    return {};
}

// Row n of a state table, "n  P{L=n}  P{L>n}", against the distribution p it prints.
template <class T>
void ExpectStateRow(const std::vector<std::string>& table, int n, const std::vector<T>& p) {
    const std::vector<std::string> row = TableRow(table, std::to_string(n));
    ASSERT_EQ(row.size(), 3u) << "no row " << n;
    long double beyond = 0;
    for (std::size_t j = static_cast<std::size_t>(n) + 1; j < p.size(); ++j)
        beyond += p[j];
    EXPECT_TRUE(PrintedRight(row[1], p[static_cast<std::size_t>(n)], kFigureFloor))
        << "P{L=" << n << "}";
    EXPECT_TRUE(PrintedRight(row[2], beyond, kFigureFloor)) << "P{L>" << n << "}";
}

// The queue in front of c servers from the distribution p(j) of the number present.
struct QueueFigures {
    long double Pbusy = 0, ELq = 0, StdLq = 0;  // all c busy, the queue's mean and deviation
};

template <class T>
QueueFigures QueueOf(const std::vector<T>& p, int c) {
    QueueFigures f;
    for (std::size_t j = static_cast<std::size_t>(c); j < p.size(); ++j) {
        f.Pbusy += p[j];
        f.ELq += static_cast<long double>(j - c) * p[j];
    }
    long double V = 0;
    for (std::size_t j = 0; j < p.size(); ++j) {
        const long double d = std::max(static_cast<long double>(j) - c, 0.0L) - f.ELq;
        V += d * d * p[j];
    }
    f.StdLq = std::sqrt(V);
    return f;
}

// The wait at c exponential servers of rate 1 of an arrival that finds j present with
// probability found[j]: behind j >= c it waits Erlang(j - c + 1) at rate c.
struct WaitFigures {
    long double Pwait = 0, EWq = 0, StdWq = 0;
};

inline WaitFigures ErlangWaitOf(const std::vector<long double>& found, int c) {
    WaitFigures f;
    for (std::size_t j = static_cast<std::size_t>(c); j < found.size(); ++j) {
        f.Pwait += found[j];
        f.EWq += found[j] * static_cast<long double>(j - c + 1) / c;
    }
    long double V = 0;
    for (std::size_t j = 0; j < found.size(); ++j) {
        const long double w = std::max(static_cast<long double>(j) - c + 1, 0.0L),
                          d = w / c - f.EWq;
        V += found[j] * (d * d + w / (static_cast<long double>(c) * c));
    }
    f.StdWq = std::sqrt(V);
    return f;
}

// The statistics block of a report against the wait and the queue computed another way.
inline void ExpectPrintedStatistics(const std::vector<std::string>& lines, const WaitFigures& w,
                                    const QueueFigures& q) {
    EXPECT_PRINTED(lines, "Pwait", w.Pwait);
    EXPECT_PRINTED(lines, "E(Wq)", w.EWq);
    EXPECT_PRINTED(lines, "E(Lq)", q.ELq);
    EXPECT_PRINTED(lines, "Std(Wq)", w.StdWq);
    EXPECT_PRINTED(lines, "Std(Lq)", q.StdLq);
}

// The row of t in the waiting-time table (output=1) of a call, against the tail P{Wq > t}.
inline void ExpectTailRow(const std::string& call, double t, long double tail) {
    const std::string text = Format("%g", {t});
    const std::vector<std::string> row = TableRow(ReportOf(call + " output=1 t=" + text), text);
    ASSERT_EQ(row.size(), 2u) << call << " t=" << text;
    EXPECT_TRUE(PrintedRight(row[1], tail)) << call << " t=" << text;
}

}  // namespace wachtrix::testing
