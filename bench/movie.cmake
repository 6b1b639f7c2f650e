# Movies: a frame decoded and shown doubled, and the streamer's work a frame.
korvena_bench(bench_movie SOURCES movie/movie_bench.cpp DEPS korvena_platform)
