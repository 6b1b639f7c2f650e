# Fuzz targets of the audio loaders: sound banks, MIDI stream files, the
# disc's WAV tracks.
# Seeded by the target's own small banks: the game's banks (over a megabyte)
# are far past what the fuzzer reads.
korvena_fuzz_target(sound_bank SOURCES sound_bank.cpp DEPS korvena_synth korvena_audio korvena_framework korvena_platform)
korvena_fuzz_target(midi_stream SOURCES midi_stream.cpp DEPS korvena_audio korvena_framework korvena_platform)
korvena_fuzz_target(cd_track SOURCES cd_track.cpp DEPS korvena_synth korvena_platform)
