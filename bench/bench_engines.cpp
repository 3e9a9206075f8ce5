#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "engines/ExprCalc.h"
#include "engines/Valtri_StrFormat.h"

namespace {

// A typical calculator line: ten operators, a constant, a hexadecimal and a fraction.
void BM_EvaluateTenOperators(benchmark::State& state) {
  const std::string line = "(12.5+3)*pi-7/2+2**3-(17%5)*$1F+150";
  double result = 0;
  for (auto _ : state) {
    zentrix::Evaluate(line, result);
    benchmark::DoNotOptimize(result);
  }
  state.SetLabel(line);
}
BENCHMARK(BM_EvaluateTenOperators);

void BM_EncodeMime64OneMiB(benchmark::State& state) {
  std::string data(1 << 20, '\0');
  std::mt19937 random(3);
  for (char& c : data) c = static_cast<char>(random());
  for (auto _ : state) {
    std::string text = zentrix::EncodeBytes(data, zentrix::kFormatMime64);
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(data.size()));
}
BENCHMARK(BM_EncodeMime64OneMiB);

}  // namespace
