// Computing both teeth of a gear, as the dialogue does after a new z: the
// parameter constants, the standard tooth and the shifted tooth.
#include "geometry/geometry.hpp"

#include <benchmark/benchmark.h>

static void both_teeth(benchmark::State& state)
{
    const int z = static_cast<int>(state.range(0));
    ProfileLasts lasts{};
    for (auto _ : state) {
        gear_params.z = z;
        compute_gear_params();
        compute_tooth_profile(0.0, standard_tooth.flank, standard_tooth.mirror_flank, standard_tooth.outline, lasts);
        compute_tooth_profile(0.5, shifted_tooth.flank, shifted_tooth.mirror_flank, shifted_tooth.outline, lasts);
        benchmark::DoNotOptimize(lasts);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(both_teeth)->Arg(8)->Arg(20)->Arg(100)->Arg(400)->Arg(1000)->Unit(benchmark::kMicrosecond);

// The range check the dialogue runs before each computation.
static void range_check(benchmark::State& state)
{
    const int z = static_cast<int>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(gear_refusal(z, 0.5));
}
BENCHMARK(range_check)->Arg(8)->Arg(20)->Arg(100)->Unit(benchmark::kMicrosecond);
