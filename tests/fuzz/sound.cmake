# Fuzz targets of the audio loaders: sound banks, MIDI stream files, the
# disc's WAV tracks.
korvena_fuzz_target(sound_bank SOURCES sound_bank.cpp DEPS korvena_synth korvena_audio korvena_framework korvena_platform
                    SEEDS ${data}/sound/WN32/*.KBB)
korvena_fuzz_target(midi_stream SOURCES midi_stream.cpp DEPS korvena_audio korvena_framework korvena_platform)
korvena_fuzz_target(cd_track SOURCES cd_track.cpp DEPS korvena_synth korvena_platform)
