// Calculations driven through the main window over 20 curves x 1,000,000 samples: a new curve
// from a three-argument script with an intermediate variable, from the last pick until the
// curve is in the view; multiplying 10 selected curves with their 10 undo snapshots; and a
// one-argument script applied to one curve as a group run; each with the repaint that shows it.
#include "bench/BenchMainWindow.h"
#include "core/MathExpression.h"
#include "ui_MainUnit.h"
#include "view/NumberInput.h"

#include <QMenu>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

constexpr int kCurves = 20;
constexpr int kSamples = 1000000;
const char* const kFolder = "strativ-bench-calc";

void WriteScript(const std::string& file, const std::string& name, const std::string& value,
                 const std::string& variable = {})
{
    TMathExpression script;
    script.SetFileName(file);
    script.SetName(name);
    script.SetCaption(name);
    script.SetValue(value);
    if (!variable.empty())
        script.GetParser().AddVariable("v", variable);
    script.Save();
}

// The window made after the scripts are in its "calc" folder: the bar is built at its creation.
TFormMain& Window()
{
    static TFormMain* window = [] {
        const std::filesystem::path calc = std::filesystem::temp_directory_path() / kFolder / "calc";
        std::filesystem::create_directories(calc);
        WriteScript((calc / "a_three.exp").string(), "Три", "v * x[1] + sqrt(x[2] * x[2]) + depth * 0.001",
                    "x[0] / 2 + 1");
        WriteScript((calc / "b_one.exp").string(), "Один", "x[0] * 2 + 1");
        return MakeBenchWindow(kFolder, kCurves, kSamples);
    }();
    return *window;
}

void SelectCurves(TFormMain& window, int count)
{
    for (int i = 0; i < window.PanelCurves->GetCurvesCount(); ++i)
        window.PanelCurves->GetCurve(i)->SetSelected(i < count);
}

void BM_MultiplyTenSelectedCurves(benchmark::State& state)
{
    TFormMain& window = Window();
    SelectCurves(window, 10);
    for (auto _ : state) {
        BenchRunner().PushDialog([](QDialog& dialog) {
            static_cast<TNumberInputBox&>(dialog).SpinEdit()->setValue(1.0001);
            return int(QDialog::Accepted);
        });
        window.Form().MMICurvesOperMult->trigger();
        RepaintAndDropUndo(state, window);
    }
}
BENCHMARK(BM_MultiplyTenSelectedCurves)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// No intervals: the whole curve, one question answered Yes.
void BM_OneArgumentScriptGroupRun(benchmark::State& state)
{
    TFormMain& window = Window();
    SelectCurves(window, 1);
    QAction* item = window.PMICurveGroupCalc->actions().front();
    for (auto _ : state) {
        BenchRunner().Push(platform::IDYES);
        item->trigger();
        RepaintAndDropUndo(state, window);
    }
}
BENCHMARK(BM_OneArgumentScriptGroupRun)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// Last, as every round adds a curve. Name, colour and the closing message answered; the timed
// part is the third pick.
void BM_NewCurveFromTheLastPick(benchmark::State& state)
{
    TFormMain& window = Window();
    SelectCurves(window, 0);
    QAction* button = window.CalcButtons().front();
    platform::RecordingDialogRunner& runner = BenchRunner();
    for (auto _ : state) {
        state.PauseTiming();
        button->setChecked(true);
        window.SpBtnMathExprClick(button);
        window.PanelCurvesCurveClick(window.PanelCurves, 0);
        window.PanelCurvesCurveClick(window.PanelCurves, 1);
        runner.PushText("NEW");
        runner.PushColor(0x0000FF);
        runner.Push(platform::IDOK);
        state.ResumeTiming();
        window.PanelCurvesCurveClick(window.PanelCurves, 2);
        RepaintBenchWindow(window);
    }
    state.counters["curves"] = window.LasFile()->GetCurvesCount() - 1;
}
BENCHMARK(BM_NewCurveFromTheLastPick)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace
