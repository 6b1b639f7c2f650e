# Camera update and replay recording per tick.
korvena_bench(bench_matchflow_view SOURCES matchflow/view_bench.cpp DEPS korvena_matchflow korvena_engine korvena_shell)
