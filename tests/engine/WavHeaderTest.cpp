// RIFF/WAVE header reader: good layouts, marks, damaged headers, start offsets, time lists and
// the check dialog's acceptance verdict. Expected offsets are worked out by hand from the
// layout: 12 bytes RIFF header, 8 + n per chunk, one pad byte after a chunk of odd size n.
#include "engine/WavHeader.h"
#include "support/WavWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <tuple>

namespace oxw::engine {
namespace {

using test::PutId;
using test::PutU16;
using test::PutU32;
using test::WavBytesFromFrames;
using test::WavChunk;
using test::WavFormat;
using Bytes = std::vector<std::uint8_t>;

// A stream holding the file followed by a well-formed "data" chunk that lies beyond the file
// size handed to the reader: a reader that looks past the end would find it.
struct FileStream {
  explicit FileStream(const Bytes& bytes) : size(bytes.size()) {
    std::string s(bytes.begin(), bytes.end());
    s += std::string("data\4\0\0\0abcd", 12);
    in.str(s);
  }
  std::istringstream in;
  std::uint64_t size;
};

WavHeaderInfo Read(const Bytes& bytes) {
  FileStream f(bytes);
  return ReadWavHeader(f.in, f.size);
}

Bytes Silence(const WavFormat& wavFormat, std::size_t frames) {
  return WavBytesFromFrames(wavFormat, std::vector<std::int16_t>(frames * wavFormat.channels, 0));
}

WavChunk Chunk(const char* id, std::size_t n) { return {id, Bytes(n, 0x55)}; }

TEST(WavHeader, ReadsGoodLayouts) {
  const struct {
    const char* name;
    WavFormat wavFormat;
    std::size_t frames;
    std::uint64_t dataAt;
    std::uint32_t extra, byteRate, align, playTime;
    bool twoChan, channelMark;
  } cases[] = {
      {"canonical 44-byte header", {}, 1000, 44, 0, 88200, 2, 0, false, false},
      {"18-byte format chunk", WavFormat().ExtraFormat({0, 0}), 1000, 46, 2, 88200, 2, 0, false, false},
      {"LIST before data", WavFormat().ChunkBeforeData(Chunk("LIST", 26)), 1000, 78, 0, 88200, 2, 0, false, false},
      {"odd chunk and pad byte", WavFormat().ChunkBeforeData(Chunk("JUNK", 5)), 1000, 58, 0, 88200, 2, 0, false, false},
      {"chunk before fmt", WavFormat().ChunkBeforeFormat(Chunk("JUNK", 4)), 1000, 56, 0, 88200, 2, 0, false, false},
      {"odd chunks both sides", WavFormat().ExtraFormat({1, 0, 7}).ChunkBeforeFormat(Chunk("bext", 3))
           .ChunkBeforeData(Chunk("LIST", 1)).ChunkBeforeData(Chunk("fact", 4)),
       10, 12 + 12 + 28 + 10 + 12 + 8, 3, 88200, 2, 0, false, false},
      {"10.5 seconds mono", {}, 463050, 44, 0, 88200, 2, 10, false, false},
      {"1.5 seconds stereo", WavFormat().Channels(2), 66150, 44, 0, 176400, 4, 1, true, false},
      {"3 channels", WavFormat().Channels(3), 100, 44, 0, 264600, 6, 0, false, true},
      {"5 channels", WavFormat().Channels(5), 100, 44, 0, 441000, 10, 0, false, false},
      {"7 channels", WavFormat().Channels(7), 100, 44, 0, 617400, 14, 0, false, true},
      {"48000 Hz stereo", WavFormat().Rate(48000).Channels(2), 96000, 44, 0, 192000, 4, 2, true, false},
      {"8 bits 22050 Hz", WavFormat().Rate(22050).Bits(8), 44100, 44, 0, 22050, 1, 2, false, false},
      {"24 bits stereo", WavFormat().Bits(24).Channels(2), 100, 44, 0, 264600, 6, 0, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Bytes bytes = Silence(c.wavFormat, c.frames);
    FileStream f(bytes);
    const WavHeaderInfo h = ReadWavHeader(f.in, f.size);
    ASSERT_FALSE(h.refusal) << *h.refusal;
    EXPECT_EQ(h.BiffFormat.Identifier + h.BiffFormat.Type + h.BiffFormat.FormatId, "RIFFWAVEfmt ");
    EXPECT_EQ(h.InputSize, bytes.size() - 8);
    EXPECT_EQ(h.StreamDataChunk, c.dataAt);
    EXPECT_EQ(static_cast<std::uint64_t>(f.in.tellg()), c.dataAt);
    EXPECT_EQ(std::tuple(h.ExtraFormatBytes, h.SoundFileCompressionCode, h.SoundFileNoOfChannels, h.SoundFileSampleRate,
                         h.SoundFileSigBitsPerSample, h.SoundFileAvBytesPerSecond, h.SoundFileBlockAlign),
              std::tuple(c.extra, 1, c.wavFormat.channels, c.wavFormat.sampleRate, c.wavFormat.bitsPerSample, c.byteRate,
                         c.align));
    EXPECT_EQ(std::tuple(h.ChunkLength, h.DeclaredChunkLength, h.PlayTime, h.TwoChan, h.ChannelMismatch),
              std::tuple(c.frames * c.align, c.frames * c.align, c.playTime, c.twoChan, c.channelMark));
    EXPECT_FALSE(h.DataCut || h.ByteSwap || h.IdentifierMismatch || h.TypeMismatch || h.FormatIdMismatch);
  }
}

TEST(WavHeader, TimeListsOfWholeSeconds) {
  const WavHeaderInfo h = Read(Silence({}, 463050));  // 10.5 s at 44100 Hz: lists 1..9 and 2..10
  ASSERT_EQ(h.PlayTime, 10u);
  const TimeLists lists = StartEndTimeLists(h.PlayTime);
  EXPECT_EQ(lists.Start, (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8", "9"}));
  EXPECT_EQ(lists.End, (std::vector<std::string>{"2", "3", "4", "5", "6", "7", "8", "9", "10"}));
  EXPECT_TRUE(StartEndTimeLists(0).Start.empty() && StartEndTimeLists(1).End.empty());
  const TimeLists huge = StartEndTimeLists(std::numeric_limits<std::uint32_t>::max());
  ASSERT_EQ(huge.Start.size(), kMaxTimeListEntries);
  EXPECT_EQ(huge.Start.back() + " " + huge.End.back(), "100000 100001");
}

TEST(WavHeader, IdentifierMismatchesAreMarkedNotRefused) {
  Bytes rifx = Silence({}, 10);
  PutId(rifx, 0, "RIFX");
  Bytes avi = Silence({}, 10);
  PutId(avi, 8, "AVI ");
  const WavHeaderInfo a = Read(rifx), b = Read(avi);
  EXPECT_FALSE(a.refusal || b.refusal);
  EXPECT_EQ(a.BiffFormat.Identifier, "RIFX");
  EXPECT_TRUE(a.IdentifierMismatch && !a.TypeMismatch);
  EXPECT_EQ(b.BiffFormat.Type, "AVI ");
  EXPECT_TRUE(b.TypeMismatch && !b.IdentifierMismatch);
  EXPECT_EQ(b.StreamDataChunk, 44u);
  EXPECT_STREQ(kChannelsNowDefault1, "Channels now default 1");
}

// The canonical mono file of 100 frames: 244 bytes, data size at 40, data at 44.
Bytes Base() { return Silence({}, 100); }

Bytes Patched16(std::size_t at, std::uint16_t v) { Bytes b = Base(); PutU16(b, at, v); return b; }
Bytes Patched32(std::size_t at, std::uint32_t v) { Bytes b = Base(); PutU32(b, at, v); return b; }
Bytes Cut(Bytes b, std::size_t n) { b.resize(n); return b; }

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// A chunk header declaring `size` bytes, followed by `bodyBytes` zeros.
Bytes ChunkBytes(const char* id, std::uint32_t size, std::size_t bodyBytes) {
  Bytes b(8 + bodyBytes, 0);
  PutId(b, 0, id);
  PutU32(b, 4, size);
  return b;
}

Bytes RiffWave() { return Cut(Base(), 12); }

struct BadCase {
  const char* name;
  Bytes bytes;
  std::optional<std::string> refusal;  // nothing: read, with the data cut as below
  std::uint32_t chunkLength = 0;
};

TEST(WavHeader, DamagedHeadersAreRefusedOrCut) {
  Bytes listBeforeData = Silence(WavFormat().ChunkBeforeData(Chunk("LIST", 26)), 100);
  PutU32(listBeforeData, 40, 0xFFFFFFFFu);
  Bytes dataRenamed = Base();
  PutId(dataRenamed, 36, "dat ");
  const Bytes fmtBody = Cut(Base(), 36);
  const Bytes fmtChunk(fmtBody.begin() + 12, fmtBody.end());
  Bytes manyEmpty = RiffWave();
  for (int i = 0; i < 1000; ++i) manyEmpty = Concat({manyEmpty, ChunkBytes("JUNK", 0, 0)});
  const std::string noChunk = "No \"", endOfFile = "\" chunk found before the end of the file (",
                    pastEnd = ", past the end of the file (";

  const BadCase cases[] = {
      {"empty file", {}, "The sound file is empty."},
      {"3 bytes", {'R', 'I', 'F'}, "The sound file is 3 bytes long, shorter than the 12-byte RIFF header."},
      {"RIFF only", {'R', 'I', 'F', 'F'}, "The sound file is 4 bytes long, shorter than the 12-byte RIFF header."},
      {"header only", RiffWave(), noChunk + "fmt " + endOfFile + "12 bytes)."},
      {"no data chunk", fmtBody, noChunk + "data" + endOfFile + "36 bytes)."},
      {"data chunk renamed", dataRenamed, noChunk + "data" + endOfFile + "244 bytes)."},
      {"cut inside the data chunk header", Cut(Base(), 40), noChunk + "data" + endOfFile + "40 bytes)."},
      {"odd last chunk without its pad byte", Concat({fmtBody, ChunkBytes("JUNK", 3, 3)}), noChunk + "data" + endOfFile + "47 bytes)."},
      {"1000 empty chunks, no fmt", manyEmpty, noChunk + "fmt " + endOfFile + "8012 bytes)."},
      {"unprintable chunk identifier", Concat({fmtBody, ChunkBytes("J\x01\xFF ", 99, 0)}),
       "The \"J\\x01\\xFF \" chunk at byte 36 declares 99 bytes" + pastEnd + "44 bytes)."},
      {"chunk one byte past the end", Concat({fmtBody, ChunkBytes("JUNK", 4, 3)}),
       "The \"JUNK\" chunk at byte 36 declares 4 bytes" + pastEnd + "47 bytes)."},
      {"data before fmt", Concat({RiffWave(), ChunkBytes("data", 4, 4), fmtChunk}),
       "The \"data\" chunk at byte 12 comes before any \"fmt \" chunk."},
      {"chunk size 0xFFFFFFFF", listBeforeData, "The \"LIST\" chunk at byte 36 declares 4294967295 bytes" + pastEnd + "278 bytes)."},
      {"fmt size 0xFFFFFFF0", Patched32(16, 0xFFFFFFF0u), "The \"fmt \" chunk at byte 12 declares 4294967280 bytes" + pastEnd + "244 bytes)."},
      {"truncated mid-fmt", Cut(Base(), 30), "The \"fmt \" chunk at byte 12 declares 16 bytes" + pastEnd + "30 bytes)."},
      {"fmt of 15 bytes", Patched32(16, 15), "The \"fmt \" chunk is 15 bytes long; a format chunk needs at least 16."},
      {"channels 0", Patched16(22, 0), "Sound File Number of Channels is 0; a sound file needs at least one."},
      {"byte rate 0", Patched32(28, 0), "Average bytes/second is 0; the sound would have no duration."},
      {"wrong block align", Patched16(32, 3), "Bytes per Sample Slice is 3, but 1 channel(s) of 16 bits need 2."},
      {"block align 0", Patched16(32, 0), "Bytes per Sample Slice is 0, but 1 channel(s) of 16 bits need 2."},
      {"wrong byte rate", Patched32(28, 44100), "Average bytes/second is 44100, but 44100 sample slices per second of 2 bytes need 88200."},
      {"sample rate 0", Patched32(24, 0), "Average bytes/second is 88200, but 0 sample slices per second of 2 bytes need 0."},
      {"RIFF size 0xFFFFFFFF (shown only)", Patched32(4, 0xFFFFFFFFu), std::nullopt, 200},
      {"data size past the end: cut", Patched32(40, 1000), std::nullopt, 200},
      {"data size 0xFFFFFFFF: cut", Patched32(40, 0xFFFFFFFFu), std::nullopt, 200},
      {"recording cut short", Silence(WavFormat().KeepDataBytes(51), 100), std::nullopt, 51},
      {"data size 0", Patched32(40, 0), std::nullopt, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const WavHeaderInfo h = Read(c.bytes);
    EXPECT_EQ(h.refusal, c.refusal);
    if (c.refusal) continue;
    EXPECT_EQ(h.StreamDataChunk, 44u);
    EXPECT_EQ(h.ChunkLength, c.chunkLength);
    EXPECT_EQ(h.DataCut, h.DeclaredChunkLength > c.chunkLength);
  }
}

TEST(WavHeader, CutDataKeepsTheDeclaredSizeAndTimesWhatIsThere) {
  // 3 s declared at 44100 Hz mono, 2.5 s present: PlayTime counts what the file holds.
  const WavHeaderInfo h = Read(Silence(WavFormat().KeepDataBytes(220500), 132300));
  ASSERT_FALSE(h.refusal);
  EXPECT_TRUE(h.DataCut);
  EXPECT_EQ(h.DeclaredChunkLength, 264600u);
  EXPECT_EQ(h.ChunkLength, 220500u);
  EXPECT_EQ(h.PlayTime, 2u);
}

TEST(WavHeader, RefusalsKeepTheMarksAndAShortStreamIsRefused) {
  const WavHeaderInfo h = Read(Concat({RiffWave(), ChunkBytes("LIST", 4, 4)}));
  ASSERT_TRUE(h.refusal);
  EXPECT_EQ(h.BiffFormat.FormatId, "LIST");
  EXPECT_TRUE(h.FormatIdMismatch && Read({}).IdentifierMismatch);
  const Bytes head = Cut(Base(), 36);  // the stream ends before the 244 bytes it is said to hold
  std::istringstream in(std::string(head.begin(), head.end()));
  EXPECT_EQ(ReadWavHeader(in, 244).refusal, "The sound file could not be read at byte 36.");
}

TEST(WavHeader, StartOffsetBytesRoundsHalvesToEvenThenWholeFrames) {
  const struct { double start; std::uint32_t byteRate, align; std::uint64_t bytes; } cases[] = {
      {1.0, 176400, 4, 176400},        // stereo 16-bit 44100 Hz
      {4800, 176400, 4, 846720000},
      {1766.0 / 176400, 176400, 4, 1764},  // 1766 bytes is half a frame in: back to 1764
      {1e-5, 176400, 4, 0},            // 1.764 -> 2 -> frame 0
      {2.5, 88200, 2, 220500},         // mono 16-bit
      {0.5, 11025, 1, 5512},           // 5512.5: halves to even, down
      {1.5, 11025, 1, 16538},          // 16537.5: halves to even, up
      {0.5, 33075, 3, 16536},          // 3 x 8 bits: 16537.5 -> 16538 -> 16536
      {0.5, 21, 3, 9},                 // 24-bit mono at 7 Hz: 10.5 -> 10 -> 9
      {-1, 176400, 4, 0},
      {std::nan(""), 176400, 4, 0},
      {1.0, 176400, 0, 176400},        // no frame size known: bytes as rounded
  };
  for (const auto& c : cases)
    EXPECT_EQ(StartOffsetBytes(c.start, c.byteRate, c.align), c.bytes) << c.start << " s at " << c.byteRate << " B/s";
}

TEST(WavHeader, AcceptanceVerdict) {
  const std::string refusal = " This sound file does not comply with OXW input specifications. Check OXW Help.";
  const struct { WavFormat wavFormat; std::size_t frames; std::optional<std::string> verdict; } cases[] = {
      {WavFormat().Channels(2), 88200, std::nullopt},  // exactly 2 s stereo
      {WavFormat(), 100000, std::nullopt},              // 2.27 s mono
      {WavFormat().Channels(2), 88199, refusal + "Sample rate 44100 Bits/Sample 16 Channels 2 Estimated Run Time 1"},
      {WavFormat().Rate(48000).Channels(2), 96000, refusal + "Sample rate 48000 Bits/Sample 16 Channels 2 Estimated Run Time 2"},
      {WavFormat().Bits(24), 88200, refusal + "Sample rate 44100 Bits/Sample 24 Channels 1 Estimated Run Time 2"},
      {WavFormat().Channels(3), 88200, refusal + "Sample rate 44100 Bits/Sample 16 Channels 3 Estimated Run Time 2"},
  };
  for (const auto& c : cases) {
    const WavHeaderInfo h = Read(Silence(c.wavFormat, c.frames));
    ASSERT_FALSE(h.refusal);
    EXPECT_EQ(AcceptanceProblem(h), c.verdict);
  }
}

}  // namespace
}  // namespace oxw::engine
