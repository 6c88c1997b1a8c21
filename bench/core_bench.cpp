// Timings of the calculator's decisions and the text services it uses.
//
//   build/bin/core_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "calculator/decisions.h"
#include "toolkit/core/text.h"

namespace {

using calculator::InputField;

// The codes from -1 to 200 in turn: digits, refusals and the minus sign.
void BM_AcceptsKey(benchmark::State& state) {
    std::int64_t code = -1;
    for (auto _ : state) {
        bool accepted = calculator::AcceptsKey(InputField::RxyFld, code);
        benchmark::DoNotOptimize(accepted);
        code = code == 200 ? -1 : code + 1;
    }
}
BENCHMARK(BM_AcceptsKey);

// Texts like the ones typed into the fields, and one long one.
constexpr std::array<std::string_view, 6> kTexts{".60", "-.913",  "0.5",
                                                 "1",   ".716e0", "  -0.123456789012345"};

void BM_Val(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        double v = tk::Val(kTexts[i]);
        benchmark::DoNotOptimize(v);
        i = (i + 1) % kTexts.size();
    }
}
BENCHMARK(BM_Val);

constexpr std::array<double, 5> kValues{0.09335201, -0.01005595, 2.591051, 0.0, -0.99995};

void BM_FormatResult(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        std::string s = tk::Format(kValues[i], calculator::kResultMask);
        benchmark::DoNotOptimize(s);
        i = (i + 1) % kValues.size();
    }
}
BENCHMARK(BM_FormatResult);

void BM_FormatGrouped(benchmark::State& state) {
    double v = 1234567.891;
    for (auto _ : state) {
        benchmark::DoNotOptimize(v);
        std::string s = tk::Format(v, "#,##0.00");
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(BM_FormatGrouped);

// A whole Compute click, with the result text: the worked triples in turn.
struct Triple {
    std::string_view rxx, ryy, rxy;
};
constexpr std::array<Triple, 5> kTriples{{
    {".60", ".70", ".80"},
    {".5", ".3", ".4"},
    {".716", ".787", ".913"},
    {".9", ".1", ".95"},
    {".6", ".7", "-.8"},
}};

void BM_EvaluateInputs(benchmark::State& state) {
    std::size_t i = 0;
    for (auto _ : state) {
        const Triple& t = kTriples[i];
        auto outcome = calculator::EvaluateInputs(t.rxx, t.ryy, t.rxy);
        benchmark::DoNotOptimize(outcome);
        i = (i + 1) % kTriples.size();
    }
}
BENCHMARK(BM_EvaluateInputs);

// The refusals: a missing value and one out of range, with their messages.
void BM_EvaluateInputsRefused(benchmark::State& state) {
    bool missing = false;
    for (auto _ : state) {
        auto outcome = missing ? calculator::EvaluateInputs(".5", "", ".5")
                               : calculator::EvaluateInputs(".5", ".5", "1.5");
        benchmark::DoNotOptimize(outcome);
        missing = !missing;
    }
}
BENCHMARK(BM_EvaluateInputsRefused);

}  // namespace

BENCHMARK_MAIN();
