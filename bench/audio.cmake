# Audio benchmarks: the mixer per voice, IMA ADPCM, bank loading.
korvena_bench(bench_audio SOURCES ${CMAKE_CURRENT_LIST_DIR}/audio/bench_audio.cpp
              DEPS korvena_audio korvena_framework korvena_platform)
korvena_bench(bench_sound_update SOURCES ${CMAKE_CURRENT_LIST_DIR}/audio/bench_sound_update.cpp
              DEPS korvena_audio korvena_framework korvena_platform)
