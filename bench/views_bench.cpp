// Cost per call of the number formatter's _format with its default rule (grouping, trailing zeros
// trimmed) at 0, 3 and 9 fraction places, over a fixed mix of values: integers, ordinary
// fractions of every size up to the 32-bit range, and exact halves.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "platform/core/Runtime.h"
#include "views/input/tm_formatter.h"

namespace {

std::vector<double> Values() {
  std::mt19937_64 gen(20240611);
  std::uniform_real_distribution<double> unit(0, 1);
  std::vector<double> v;
  for (int i = 0; i < 1024; ++i) {
    double magnitude = std::pow(10.0, static_cast<int>(gen() % 10) - 1);
    double x = unit(gen) * magnitude;
    if (i % 4 == 1) x = std::trunc(x);
    if (i % 4 == 2) x = (std::trunc(x * 100) + 0.5) / 100;
    v.push_back(i % 2 == 0 ? x : -x);
  }
  return v;
}

void BM_Format(benchmark::State& state) {
  tmr::Runtime rt;
  auto f = std::make_shared<tmr::tm_formatter>();
  f->_initialize(std::make_shared<tmr::Dispatcher>(rt, std::weak_ptr<tmr::Module>()));
  f->_getdefaultformat()->MaximumFractions = static_cast<int32_t>(state.range(0));
  const std::vector<double> values = Values();
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(f->_format(values[i]));
    i = (i + 1) % values.size();
  }
}
BENCHMARK(BM_Format)->ArgName("places")->Arg(0)->Arg(3)->Arg(9);

}  // namespace

BENCHMARK_MAIN();
