// Workload 1 of the comparison (ten million passes of a FOR loop) run the
// way the terminal front end runs it, on the calling thread, and the way the
// desktop program runs it, on its worker thread behind the worker gate, with
// the console's host collecting the output.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench_host.h"
#include "session/session.h"
#include "worker/console_host.h"
#include "worker/tmythread.h"
#include "worker/worker_gate.h"

namespace {

using ostrac::session::RunState;
using ostrac::session::Session;

constexpr const char* workload = "s = 0: FOR i = 1 TO 10000000: s = s + i: NEXT: print s";

void BM_Workload1_Terminal(benchmark::State& state) {
    ostrac::bench::BenchSession bench;
    for (auto _ : state) bench.run(workload);
}
BENCHMARK(BM_Workload1_Terminal)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Workload1_DesktopWorker(benchmark::State& state) {
    ostrac::ui::WorkerGate gate;
    ostrac::ui::ConsoleHost host{gate};
    Session session{host};
    std::array<std::string, Session::search_path_count> paths;
    paths[0] = std::filesystem::temp_directory_path().string();
    session.init(paths);
    ostrac::ui::TMyThread worker{session, gate};
    worker.start();
    for (auto _ : state) {
        {
            auto access = worker.access();
            if (access.session().submit(workload)) access.resume();
        }
        // The worker runs alone; this thread sleeps until it parks (a worker
        // not yet woken by the resume is still parked from before).
        while (session.run_state.load() != RunState::Idle) gate.wait_until_suspended();
        host.take_events();
    }
}
BENCHMARK(BM_Workload1_DesktopWorker)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
