// The formula evaluator on what dice and effects ask of it: a roll (formula set, then evaluated
// again, as the table does), a long definition formula, and an integral over 100 intervals. Its
// figures are reported, not checked: no other work in the program is comparable to set a ratio.
#include "BenchSupport.h"

#include "services/Evaluator.h"

#include <benchmark/benchmark.h>

static void BM_DiceRoll(benchmark::State& state) {
    Evaluator ev;
    for (auto _ : state) {
        ev.SetFormula("dice(6)+dice(6)+2");
        benchmark::DoNotOptimize(ev.Evaluate());
    }
}
BENCHMARK(BM_DiceRoll);

static void BM_LongFormula(benchmark::State& state) {
    // About 250 characters, the most a definition value holds.
    const std::string formula = "if(dice(20)>10)(int(sqr(dice(100))*1,5)+fac(3)-2^3)(abs(sin(pi/4)*100)\\3)"
                                "+max()+min()+med()+avg()+sum()+(3[27)+2#1024+(50%*4)+180\xB0+hcos(0)+"
                                "log(1000)+ln(e)+prim(100)+frac(2.5)+int(-2.5)+fix(-2.5)+not(0)+notin(0.5)";
    Evaluator ev;
    for (const char* item : {"push(5)", "push(1)", "push(9)", "push(4)"})
        ev.SetFormula(item);
    for (auto _ : state) {
        ev.SetFormula(formula);
        benchmark::DoNotOptimize(ev.Result());
    }
}
BENCHMARK(BM_LongFormula);

static void BM_Integral100(benchmark::State& state) {
    Evaluator ev;
    for (const char* item : {"push(100)", "push(0)", "push(1)"})
        ev.SetFormula(item);
    for (auto _ : state) {
        ev.SetFormula("intg(x\xB2+sin(x))");
        benchmark::DoNotOptimize(ev.Result());
    }
}
BENCHMARK(BM_Integral100);

int main(int argc, char** argv) {
    benchsupport::MessageLog log;
    benchsupport::Initialize(argc, argv, 5);
    benchsupport::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return benchsupport::Finish({}, reporter, log);
}
