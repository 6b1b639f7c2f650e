# The audio library (QAL*): device and samples, banks, IMA ADPCM and streams,
# CD audio, MIDI streams.
list(APPEND AUDIO_SOURCES
  qal_device.cpp
  qal_bank.cpp
  qal_adpcm.cpp
  qal_cd.cpp
  qal_midi.cpp)
