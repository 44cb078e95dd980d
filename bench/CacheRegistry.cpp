// The termination-client registry at the size of a large directory tree: a million pointer-sized
// keys stored, then deleted in random order; and a million clients registering and leaving.
#include "mwlib/MW_Cache.h"
#include "mwlib/MW_SIGTERMClient.h"
#include "mwlib/MW_SIGTERMClientList.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <random>
#include <vector>

namespace
{

void StoreThenDeleteInRandomOrder(benchmark::State &state)
{
    const auto count = static_cast<uint64_t>(state.range(0));
    std::vector<uint64_t> keys(count);
    std::iota(keys.begin(), keys.end(), uint64_t{0x7f0000000000});
    std::vector<uint64_t> order = keys;
    std::shuffle(order.begin(), order.end(), std::mt19937_64(42));
    for (auto _ : state) {
        MW_Cache cache;
        for (const uint64_t &key : keys)
            cache.Store(sizeof key, &key, 0, nullptr);
        for (const uint64_t &key : order)
            cache.Delete(sizeof key, &key);
        benchmark::DoNotOptimize(cache.Count());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * count));
}
BENCHMARK(StoreThenDeleteInRandomOrder)->Arg(1000000)->Unit(benchmark::kMillisecond);

void ClientsRegisterAndLeave(benchmark::State &state)
{
    const auto count = static_cast<std::size_t>(state.range(0));
    for (auto _ : state) {
        MW_SIGTERMClientList registry;
        std::vector<std::unique_ptr<MW_SIGTERMClient>> clients(count);
        for (auto &client : clients)
            client = std::make_unique<MW_SIGTERMClient>(&registry);
        std::shuffle(clients.begin(), clients.end(), std::mt19937_64(7));
        clients.clear();
        benchmark::DoNotOptimize(registry.RegisteredCount());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * count));
}
BENCHMARK(ClientsRegisterAndLeave)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
