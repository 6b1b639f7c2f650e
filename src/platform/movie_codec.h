#pragma once
// Our movie format (".rpl" files), its encoder and its decoder. No window or
// device code: the movie generator and the validator share it with the game.
//
// Everything is little-endian.
// Header, 32 bytes: "KFMV"; u32 version (1); u16 width, u16 height (multiples
// of 4, at most 640 x 480); u32 frame rate in thousandths of a frame a second
// (1000..30000); u32 frame count (1..kMovieMaxFrames); u32 sound rate; u16
// channels (0 or 1); u16 precision (0 no sound, 16 PCM, 4 IMA ADPCM); u32
// CRC-32 of the 28 bytes before it. Without sound, rate and precision are 0.
// Then per frame: u32 video size, u32 sound size, u32 CRC-32 of the video and
// sound bytes, the video bytes, the sound bytes.
// Video: a deflated stream with one entry per 4 x 4 block, in rows: a code
// byte, then 0 skip (the block as in the previous frame; black before the
// first), 1 fill (u16 colour), 2 two colours (u16 c0, u16 c1, u16 mask whose
// bit i, pixels counted along the rows, picks c1), 3 raw (16 u16). Colours
// are 5-6-5 (red in the top bits).
// Sound of a frame: precision 16, its samples as i16; precision 4, one IMA
// ADPCM block: u16 sample count, i16 predictor, u8 step index (0..88), u8 0,
// then the codes two to a byte, the first in the high nibble. So each frame's
// sound decodes alone; its sample count is the frame's share of frames x rate
// / fps.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

constexpr size_t kMovieHeaderBytes = 32;
constexpr size_t kMovieFrameHeadBytes = 12;
constexpr uint32_t kMovieVersion = 1;
constexpr uint32_t kMovieMaxFrames = 100000;
constexpr int kMovieTargetWidth = 640;
constexpr int kMovieTargetHeight = 480;

struct MovieHeader {
  uint16_t width = 0;
  uint16_t height = 0;
  uint32_t frameRateMilli = 0;
  uint32_t frameCount = 0;
  uint32_t soundRate = 0;
  uint16_t channels = 0;
  uint16_t precision = 0;
};

uint32_t movieCrc32(const uint8_t* data, size_t size);

// The header's 32 bytes; checks every field. False (with the reason) when
// anything is out of its range or the CRC differs.
bool movieHeaderRead(const uint8_t* data, size_t size, MovieHeader* out, std::string* why);
void movieHeaderWrite(const MovieHeader& header, std::vector<uint8_t>* out);
// A header that movieHeaderRead would accept.
bool movieHeaderValid(const MovieHeader& header, std::string* why);

// Samples of sound frame `frame` carries: its share of frames x rate / fps.
uint32_t movieFrameSamples(const MovieHeader& header, uint32_t frame);
// The largest video and sound sizes a frame of this movie may declare.
uint32_t movieMaxVideoBytes(const MovieHeader& header);
uint32_t movieMaxSoundBytes(const MovieHeader& header);

// A frame's 12 leading bytes: sizes checked against the header's limits.
struct MovieFrameHead {
  uint32_t videoBytes = 0;
  uint32_t soundBytes = 0;
  uint32_t crc = 0;
};
bool movieFrameHeadRead(const MovieHeader& header, const uint8_t* data, MovieFrameHead* out);

// IMA ADPCM, one 4-bit code at a time: the films' sound and the audio
// library's compressed sounds share it (the first code of a byte goes in its
// high nibble).
struct AdpcmState {
  int32_t predictor = 0;
  int32_t stepIndex = 0;
};
uint8_t adpcmEncodeOne(int32_t sample, AdpcmState* state);
int16_t adpcmDecodeOne(uint8_t code, AdpcmState* state);

// Decodes the pictures into its own frame (which the caller never writes)
// and the sound of single frames.
class MovieDecoder {
 public:
  explicit MovieDecoder(const MovieHeader& header);
  // False when the bytes do not inflate to exactly one block stream of the
  // picture's size; the frame is then partly updated.
  bool decodeVideo(const uint8_t* data, size_t size);
  // Appends the frame's samples; false when the block is malformed or does
  // not hold `expected` samples.
  bool decodeSound(const uint8_t* data, size_t size, uint32_t expected, std::vector<int16_t>* pcm) const;
  const std::vector<uint16_t>& frame() const { return m_frame; }

 private:
  MovieHeader m_header;
  std::vector<uint16_t> m_frame;
  std::vector<uint8_t> m_stream;
};

// Encodes frames of 5-6-5 pixels. tolerance is the largest difference per
// channel (in the channel's own 5 or 6 bits) a block may keep from the source
// when skipped or coded in one or two colours; 0 is lossless.
class MovieEncoder {
 public:
  MovieEncoder(const MovieHeader& header, int tolerance);
  void headerWrite(std::vector<uint8_t>* out) const { movieHeaderWrite(m_header, out); }
  // The largest channel difference a block may keep from here on.
  void toleranceSet(int tolerance) { m_tolerance = tolerance; }
  // Appends one frame record: the picture and the frame's samples (exactly
  // movieFrameSamples of this frame when the movie has sound).
  void frameWrite(const uint16_t* rgb565, const int16_t* pcm, uint32_t samples, std::vector<uint8_t>* out);
  // What a decoder shows after the frames written so far.
  const std::vector<uint16_t>& reconstruction() const { return m_recon; }

 private:
  MovieHeader m_header;
  int m_tolerance;
  std::vector<uint16_t> m_recon;
  AdpcmState m_adpcm;
};

// Conversion of the decoded frame to a 16-bit target: colour by the target's
// shifts and widths, scaled by the largest whole factor that fits the target
// rectangle, centred, the rest black.
struct MoviePixelFormat {
  int redShift = 11, redWidth = 5, greenShift = 5, greenWidth = 6, blueShift = 0, blueWidth = 5;
};
class MovieConverter {
 public:
  void formatSet(const MoviePixelFormat& format);
  // target points at the rectangle's top-left pixel; pitch in pixels.
  void convert(const uint16_t* frame, int width, int height, uint16_t* target, int pitch,
               int targetWidth = kMovieTargetWidth, int targetHeight = kMovieTargetHeight) const;

 private:
  bool m_ready = false;
  std::vector<uint16_t> m_table;  // 5-6-5 colour to target pixel; empty for a 5-6-5 target
};

}  // namespace platform
