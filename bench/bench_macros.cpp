// Reading every field of every macro through the manager, as the macro settings window lists
// them, for a file of 1,000 macros against an open document; against a bare copy of the texts.
#include "core/Lasfile.h"
#include "printing/MacroLists.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>

namespace {

constexpr int MacroCount = 1000;

struct Fixture {
    std::filesystem::path dir = std::filesystem::temp_directory_path() / "bench_macros";
    std::unique_ptr<TLASFile> document;

    Fixture()
    {
        std::filesystem::create_directories(dir);
        const std::string las = (dir / "w.las").string();
        std::ofstream(las) << "~VERSION INFORMATION\n VERS. 2.0 :\n WRAP. NO :\n~WELL INFORMATION\n STRT.M 1 :\n"
                              " STOP.M 2 :\n STEP.M 1 :\n NULL. -999.25 :\n WELL. W-1 :\n COMP. ACME :\n"
                              "~CURVE INFORMATION\n DEPT.M :\n GR.API :\n~A\n1 1\n2 2\n";
        document = std::make_unique<TLASFile>(las, 4);
        std::filesystem::remove(dir / "m.mcr");
        CreateMacroManagerAt((dir / "m.mcr").string());
        SetMacroDocument(&document->GetParser());
        // The 30 defaults and user macros up to 1,000.
        while (MacroManager->GetCount() < MacroCount) {
            const int n = MacroManager->AddMacro();
            TQ7MacroRecord r;
            r.Mask = TQ7MacroRecord::MaskAll;
            r.Key = "USER" + std::to_string(n);
            r.Name = "Подстановка " + std::to_string(n);
            r.Value = "значение";
            MacroManager->SetMacro(n, r);
        }
    }
    ~Fixture()
    {
        SetMacroDocument(nullptr);
        DeleteMacroManager();
        std::filesystem::remove_all(dir);
    }
};

void BM_ReadEveryMacro(benchmark::State& state)
{
    Fixture f;
    for (auto _ : state) {
        size_t total = 0;
        for (int n = 0; n < MacroManager->GetCount(); ++n) {
            TQ7MacroRecord r;
            r.Mask = TQ7MacroRecord::MaskAll;
            MacroManager->GetMacro(n, r);
            total += r.Name.size() + r.Value.size();
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_ReadEveryMacro)->Unit(benchmark::kMillisecond);

// Baseline: copying 1,000 records' worth of texts.
void BM_BareCopyOfTexts(benchmark::State& state)
{
    std::vector<std::string> texts(MacroCount * 10, "Подстановка 123");
    for (auto _ : state) {
        size_t total = 0;
        for (const std::string& t : texts) {
            std::string copy = t;
            total += copy.size();
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_BareCopyOfTexts)->Unit(benchmark::kMillisecond);

}  // namespace
