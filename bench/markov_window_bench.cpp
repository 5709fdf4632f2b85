// The Markov dialog's Run of the analyses over time, as the user starts it: the grids read and
// checked, the chain handed over, the run with the progress dialog letting events through, and
// the memo filled. 100 states, t = 5000; the core run alone is in bench_markov.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <memory>
#include <random>

#include "core/markov/chain_builders.h"
#include "core/text/markov_format.h"
#include "ui/common/dialogs.h"
#include "ui/common/radio_group.h"
#include "ui/markov/markov_keuze_dialoog.h"
#include "ui/markov/markov_progress.h"
#include "ui/markov/spin_edit.h"
#include "ui/markov/string_grid.h"

namespace {

using namespace wachtrix;
using namespace wachtrix::ui;

constexpr int kStates = 100;

template <class T>
T* Child(QObject* parent, const char* name) {
    return parent->findChild<T*>(name);
}

// A dialog holding a random chain of 100 states (arguments: percentage of positive entries,
// chain kind 0 discrete or 1 continuous with total rates of 20) and the chosen analysis
// (2 transient, 3 first passage) at t = 5000.
std::unique_ptr<TMarkovKeuzeDialoog> Dialog(const benchmark::State& state) {
    auto dialog = std::make_unique<TMarkovKeuzeDialoog>();
    const bool continuous = state.range(1) == 1;
    std::mt19937 rng(2024);
    const double density = static_cast<double>(state.range(0)) / 100;
    const Matrix m = continuous ? testing::RandomRates(rng, kStates, density, 20)
                                : testing::RandomStochastic(rng, kStates, density);
    Child<QComboBox>(dialog.get(), "cbSoortMarkovChain")->setCurrentIndex(continuous ? 1 : 0);
    Child<QLineEdit>(dialog.get(), "EditAantalStates")->setText(QString::number(kStates));
    Child<QToolButton>(dialog.get(), "SpeedButton1")->click();
    auto* grid = Child<TStringGrid>(dialog.get(), "sgOvergangsMatrix");
    for (int i = 1; i <= kStates; ++i)
        for (int j = 1; j <= kStates; ++j)
            grid->setCell(i - 1, j - 1, QString::fromStdString(FormatGeneral15(m[i][j])));
    Child<QTabWidget>(dialog.get(), "PageControl1")->setCurrentIndex(1);
    const int analysis = static_cast<int>(state.range(2));
    Child<RadioGroup>(dialog.get(), "rgSoort")->item(analysis)->click();
    const char* grids[] = {"sgTimePoints", "sgTimePoints2"};
    const char* spins[] = {"seTimePoints", "seTimePoints2"};
    Child<TSpinEdit>(dialog.get(), spins[analysis - 2])->setValue(1);
    Child<TStringGrid>(dialog.get(), grids[analysis - 2])->setCell(0, 0, "5000");
    Child<QLineEdit>(dialog.get(), "EditStateA")->setText("1");
    Child<TStringGrid>(dialog.get(), "sgEndStates")->setCell(0, 0, "1");
    Child<TStringGrid>(dialog.get(), "sgEndStates")->setCell(1, 0, "2");
    return dialog;
}

void BM_DialogRun(benchmark::State& state) {
    auto dialog = Dialog(state);
    TMarkovProgress progress;
    SetMarkovProgress(&progress);
    bool refused = false;
    Dialogs::setResponder([&](const DialogRequest&) {
        refused = true;
        return DialogButton::Ok;
    });
    auto* run = Child<QPushButton>(dialog.get(), "SimuleerBtn");
    for (auto _ : state) {
        // Back to the choice page, as before every Run.
        Child<QTabWidget>(dialog.get(), "PageControl1")->setCurrentIndex(1);
        run->click();
    }
    Dialogs::setResponder({});
    SetMarkovProgress(nullptr);
    if (refused) state.SkipWithError("the dialog refused the input");
}
BENCHMARK(BM_DialogRun)
    ->ArgNames({"density", "continuous", "analysis"})
    ->Args({10, 0, 2})
    ->Args({100, 0, 2})
    ->Args({10, 0, 3})
    ->Args({100, 0, 3})
    ->Args({10, 1, 2})
    ->Args({100, 1, 2})
    ->Args({10, 1, 3})
    ->Args({100, 1, 3})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
