// Computing both teeth of a gear, as the dialogue does after a new z: the
// parameter constants, the standard tooth and the shifted tooth.
#include "geometry/geometry.hpp"

#include <benchmark/benchmark.h>

static Gear gear;  // the gear the benchmark computes

static void both_teeth(benchmark::State& state) {
    const int z = static_cast<int>(state.range(0));
    for (auto _ : state) {
        compute_gear(gear, SPECIFIED_CUTTER, z, 0.5);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(both_teeth)->Arg(8)->Arg(20)->Arg(100)->Arg(400)->Arg(1000)->Unit(benchmark::kMicrosecond);

// The range check the dialogue runs before each computation.
static void range_check(benchmark::State& state) {
    const int z = static_cast<int>(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(gear_refusal(SPECIFIED_CUTTER, z, 0.5));
}
BENCHMARK(range_check)->Arg(8)->Arg(20)->Arg(100)->Unit(benchmark::kMicrosecond);
