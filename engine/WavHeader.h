// RIFF/WAVE header reader of the analysis engine.
//
// Reads the header of an untrusted sound file: the RIFF header (12 bytes), then walks the
// chunks by their declared sizes (a chunk of odd size is followed by one pad byte) until it
// has the format chunk "fmt " and the first "data" chunk. All integers are little-endian.
// The walk is bounded by the file size the caller gives; nothing is allocated from a size
// read out of the file.
//
// Mismatches of the identifiers and an unusual channel count are only marked (the check dialog
// shows them red and bold); a header the engine cannot read safely is refused with a message
// that names the field. Whether the file meets the program's input requirements (44100 Hz,
// 16 bits, 1 or 2 channels, at least 2 seconds) is the check dialog's verdict, given by
// AcceptanceProblem.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace oxw::engine {

// The three four-character identifiers as read, shown in the check dialog's
// SoundFileIdentifier, SoundFileType and SoundFileFormatDataDetected.
struct BiffFormatTexts {
  std::string Identifier;  // bytes 0..3, expected "RIFF"
  std::string Type;        // bytes 8..11, expected "WAVE"
  std::string FormatId;    // "fmt " when the walk found it, else the first chunk's identifier
};

struct WavHeaderInfo {
  BiffFormatTexts BiffFormat;
  std::uint32_t InputSize = 0;                 // RIFF chunk size as declared (shown only)
  std::uint32_t ExtraFormatBytes = 0;          // format chunk size - 16, skipped
  std::uint16_t SoundFileCompressionCode = 0;  // 1 = PCM; not tested by the engine
  std::uint16_t SoundFileNoOfChannels = 0;
  std::uint32_t SoundFileSampleRate = 0;        // frames per second
  std::uint32_t SoundFileAvBytesPerSecond = 0;  // byte rate
  std::uint16_t SoundFileBlockAlign = 0;        // bytes per frame (all channels)
  std::uint16_t SoundFileSigBitsPerSample = 0;
  std::uint32_t DeclaredChunkLength = 0;  // size of the data chunk as declared
  std::uint32_t ChunkLength = 0;          // bytes of sample data the file holds (<= declared)
  bool DataCut = false;                   // the declared data size ran past the end of the file
  std::uint32_t PlayTime = 0;             // ChunkLength div byte rate, whole seconds
  std::uint64_t StreamDataChunk = 0;      // file offset of the first data byte
  bool ByteSwap = false;
  bool TwoChan = false;  // true for exactly 2 channels

  // Check-dialog marks (red, bold); they do not refuse the file by themselves.
  bool IdentifierMismatch = false;  // not "RIFF"
  bool TypeMismatch = false;        // not "WAVE"
  bool FormatIdMismatch = false;    // no "fmt " chunk found
  bool ChannelMismatch = false;     // channel count other than 1, 2 or 5: "Channels now default 1"

  // Set when the header cannot be read safely; the fields above hold what was read until then.
  std::optional<std::string> refusal;

  bool AnyMismatch() const {
    return IdentifierMismatch || TypeMismatch || FormatIdMismatch || ChannelMismatch;
  }
};

// Text of the check dialog's channel label when ChannelMismatch is set.
inline constexpr const char* kChannelsNowDefault1 = "Channels now default 1";

// Reads the header from `in`, whose byte 0 is the file's first byte; `fileSize` is the file's
// length in bytes and bounds every read. On success the stream stands at StreamDataChunk.
WavHeaderInfo ReadWavHeader(std::istream& in, std::uint64_t fileSize);

// Start and end time lists of the check dialog: "1".."PlayTime-1" and "2".."PlayTime".
// At most kMaxTimeListEntries entries each, so a tiny byte rate cannot make huge lists.
struct TimeLists {
  std::vector<std::string> Start;
  std::vector<std::string> End;
};
inline constexpr std::uint32_t kMaxTimeListEntries = 100000;
TimeLists StartEndTimeLists(std::uint32_t playTime);

// Offset in bytes, counted from the first data byte, at which a pass starting at
// `startTimeSeconds` begins: byte rate x start time rounded to the nearest integer (halves to
// even), then lowered to a whole number of frames so every channel keeps its place.
// Negative or non-finite start times give 0. The file position is StreamDataChunk + this.
std::uint64_t StartOffsetBytes(double startTimeSeconds, std::uint32_t avBytesPerSecond,
                               std::uint32_t blockAlign);

// The check dialog's acceptance test: 44100 Hz, 16 bits, 1 or 2 channels, PlayTime >= 2.
// Returns nothing for a good file, else the refusal message followed by FileStatsText.
inline constexpr const char* kNotCompliantMessage =
    " This sound file does not comply with OXW input specifications. Check OXW Help.";
std::string FileStatsText(const WavHeaderInfo& info);
std::optional<std::string> AcceptanceProblem(const WavHeaderInfo& info);

}  // namespace oxw::engine
