#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "bench_host.h"
#include "code/opcodes.h"
#include "frontend/frontend.h"
#include "numeric/matrix.h"
#include "numeric/polynomial_roots.h"
#include "state/symbols.h"
#include "vm/dispatcher.h"
#include "vm/number_format.h"

namespace ostrac::bench {
namespace {

// One instruction per iteration: PUSHF then END of a two-instruction block,
// driven through the session's step as the worker drives it.
void BM_DispatchOneInstruction(benchmark::State& state) {
    BenchSession b;
    b.run("x = 1");
    session::Session& s = b.session;
    // "x = x + 1" in a loop: about eight instructions per pass.
    b.session.input_line = "while 1 do x = x + 1: endwhile";
    frontend::restart_scanner(s);
    frontend::compile_block(s, session::slot::PROC0);
    s.enter_main_block();
    s.run_state = session::RunState::Running;
    for (auto _ : state) benchmark::DoNotOptimize(vm::execute_one(s));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DispatchOneInstruction);

void BM_IdentifierLookup(benchmark::State& state) {
    BenchSession b;
    const int names = static_cast<int>(state.range(0));
    for (int i = 0; i < names; ++i) state::lookup_or_create(b.session, "v" + std::to_string(i), 0);
    const std::string probe = "v" + std::to_string(names / 2);
    for (auto _ : state) benchmark::DoNotOptimize(state::lookup_or_create(b.session, probe, 0));
}
BENCHMARK(BM_IdentifierLookup)->Arg(10)->Arg(1000)->Arg(10000);

// The lookup a running program makes: a PUSHID instruction of a loop body,
// with 10, 1,000 or 10,000 other names in the table.
void BM_IdentifierOperand(benchmark::State& state) {
    BenchSession b;
    const int names = static_cast<int>(state.range(0));
    for (int i = 0; i < names; ++i) state::lookup_or_create(b.session, "v" + std::to_string(i), 0);
    session::Session& s = b.session;
    s.input_line = "v" + std::to_string(names / 2);
    frontend::restart_scanner(s);
    frontend::compile_block(s, session::slot::PROC0);
    s.enter_main_block();
    s.run_state = session::RunState::Running;
    const std::int32_t site = s.pc;
    if (vm::execute_one(s) != static_cast<int>(code::Op::PUSHID)) state.SkipWithError("not a PUSHID");
    for (auto _ : state) {
        s.pc = site;
        benchmark::DoNotOptimize(vm::execute_one(s));
        s.stack.cut(2);
    }
}
BENCHMARK(BM_IdentifierOperand)->Arg(10)->Arg(1000)->Arg(10000);

std::vector<std::string> program_lines(int count) {
    std::vector<std::string> lines;
    lines.push_back("function f(x): f = x * x + 1: endfn");
    for (int i = 1; lines.size() + 4 <= static_cast<std::size_t>(count); ++i) {
        lines.push_back("a" + std::to_string(i % 50) + " = f(" + std::to_string(i) + ") * 2.5 + sin(0.5)");
        lines.push_back("if a1 > 3 then");
        lines.push_back("  for k = 1 to 10 step 2: b = [1, 2; 3, 4] * k: next");
        lines.push_back("endif");
    }
    while (lines.size() < static_cast<std::size_t>(count)) lines.push_back("c = \"text\" + \"more\"");
    return lines;
}

void BM_Compile300Lines(benchmark::State& state) {
    BenchSession b;
    const auto lines = program_lines(300);
    for (auto _ : state) {
        frontend::select_editor_feed(b.session, lines);
        frontend::compile_block(b.session, session::slot::PROC0);
    }
    state.SetItemsProcessed(state.iterations() * 300);
    state.SetLabel("items = lines");
}
BENCHMARK(BM_Compile300Lines);

void BM_FormatNumber(benchmark::State& state) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> dist(-1e6, 1e6);
    std::vector<numeric::Complex> values(1024);
    for (auto& v : values) v = {dist(rng), dist(rng)};
    std::string out;
    std::size_t i = 0;
    for (auto _ : state) {
        out.clear();
        vm::format_number(out, values[i++ & 1023], 0, 0);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_FormatNumber);

numeric::Matrix random_matrix(int n) {
    std::mt19937_64 rng(static_cast<unsigned>(n));
    std::uniform_real_distribution<double> dist(-1, 1);
    numeric::Matrix m(n, n);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) m.at(i, j) = {dist(rng) + (i == j ? n : 0), dist(rng)};
    return m;
}

void BM_Inverse(benchmark::State& state) {
    const auto m = random_matrix(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(numeric::matrix_inverse(m));
}
BENCHMARK(BM_Inverse)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_Product(benchmark::State& state) {
    const auto m = random_matrix(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(numeric::matrix_mul(m, m));
}
BENCHMARK(BM_Product)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_ZerpolDegree19(benchmark::State& state) {
    numeric::Matrix p(1, 20);
    for (int j = 1; j <= 20; ++j) p.at(1, j) = {static_cast<double>((j * 7) % 11 - 5), 0.0};
    p.at(1, 1) = {1.0, 0.0};
    for (auto _ : state) benchmark::DoNotOptimize(numeric::polynomial_roots(p));
}
BENCHMARK(BM_ZerpolDegree19)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace ostrac::bench
