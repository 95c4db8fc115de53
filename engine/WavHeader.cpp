// RIFF/WAVE header reader: RIFF header, chunk walk, format checks, data chunk bounds.
#include "engine/WavHeader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace oxw::engine {
namespace {

constexpr std::uint64_t kRiffHeaderBytes = 12;
constexpr std::uint64_t kChunkHeaderBytes = 8;
constexpr std::uint32_t kMinFormatBytes = 16;

std::uint16_t U16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t U32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::string Text(const std::uint8_t* p, std::size_t n) {
  return std::string(reinterpret_cast<const char*>(p), n);
}

// A chunk identifier for a message: printable ASCII as it stands, other bytes as \xNN.
std::string Quoted(const std::string& id) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out = "\"";
  for (unsigned char c : id) {
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    }
  }
  return out + "\"";
}

// Reads whole byte ranges of the stream, never beyond the file size it was given.
class BoundedReader {
 public:
  BoundedReader(std::istream& in, std::uint64_t fileSize)
      : in_(in),
        size_(std::min<std::uint64_t>(fileSize, std::numeric_limits<std::streamoff>::max())) {}

  std::uint64_t Size() const { return size_; }

  bool Read(std::uint64_t offset, std::uint8_t* dst, std::size_t n) {
    if (offset > size_ || n > size_ - offset || !Seek(offset)) return false;
    in_.read(reinterpret_cast<char*>(dst), static_cast<std::streamsize>(n));
    return !in_.fail() && in_.gcount() == static_cast<std::streamsize>(n);
  }

  bool Seek(std::uint64_t offset) {
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(offset));
    return !in_.fail();
  }

 private:
  std::istream& in_;
  std::uint64_t size_;
};

bool Refuse(WavHeaderInfo& info, std::string message) {
  info.refusal = std::move(message);
  return false;
}

bool RefuseUnreadable(WavHeaderInfo& info, std::uint64_t offset) {
  return Refuse(info, "The sound file could not be read at byte " + std::to_string(offset) + ".");
}

// Bytes 0..11: "RIFF", the RIFF size, "WAVE". Keeps whatever part of them the file holds.
bool ReadRiffHeader(BoundedReader& reader, WavHeaderInfo& info) {
  std::array<std::uint8_t, kRiffHeaderBytes> head{};
  const auto have = static_cast<std::size_t>(std::min(reader.Size(), kRiffHeaderBytes));
  info.IdentifierMismatch = true;
  info.TypeMismatch = true;
  if (have == 0) return Refuse(info, "The sound file is empty.");
  if (!reader.Read(0, head.data(), have)) return RefuseUnreadable(info, 0);
  info.BiffFormat.Identifier = Text(head.data(), std::min<std::size_t>(have, 4));
  info.BiffFormat.Type = have > 8 ? Text(head.data() + 8, have - 8) : std::string();
  info.IdentifierMismatch = info.BiffFormat.Identifier != "RIFF";
  info.TypeMismatch = info.BiffFormat.Type != "WAVE";
  if (have < kRiffHeaderBytes) {
    return Refuse(info, "The sound file is " + std::to_string(have) +
                            " bytes long, shorter than the 12-byte RIFF header.");
  }
  info.InputSize = U32(head.data() + 4);
  return true;
}

// Checks that the format fields describe whole frames at a positive, consistent byte rate.
bool CheckFormatFields(WavHeaderInfo& info) {
  const std::uint32_t channels = info.SoundFileNoOfChannels;
  const std::uint32_t bits = info.SoundFileSigBitsPerSample;
  const std::uint32_t expectedAlign = channels * ((bits + 7) / 8);
  const std::uint64_t expectedRate =
      static_cast<std::uint64_t>(info.SoundFileSampleRate) * info.SoundFileBlockAlign;
  if (channels == 0) {
    return Refuse(info, "Sound File Number of Channels is 0; a sound file needs at least one.");
  }
  if (info.SoundFileAvBytesPerSecond == 0) {
    return Refuse(info, "Average bytes/second is 0; the sound would have no duration.");
  }
  if (info.SoundFileBlockAlign != expectedAlign) {
    return Refuse(info, "Bytes per Sample Slice is " + std::to_string(info.SoundFileBlockAlign) +
                            ", but " + std::to_string(channels) + " channel(s) of " +
                            std::to_string(bits) + " bits need " +
                            std::to_string(expectedAlign) + ".");
  }
  if (info.SoundFileAvBytesPerSecond != expectedRate) {
    return Refuse(info, "Average bytes/second is " +
                            std::to_string(info.SoundFileAvBytesPerSecond) + ", but " +
                            std::to_string(info.SoundFileSampleRate) +
                            " sample slices per second of " +
                            std::to_string(info.SoundFileBlockAlign) + " bytes need " +
                            std::to_string(expectedRate) + ".");
  }
  return true;
}

// The body of the "fmt " chunk; the caller has checked that it lies inside the file.
bool ReadFormat(BoundedReader& reader, WavHeaderInfo& info, std::uint64_t body,
                std::uint32_t size) {
  info.BiffFormat.FormatId = "fmt ";
  info.FormatIdMismatch = false;
  if (size < kMinFormatBytes) {
    return Refuse(info, "The \"fmt \" chunk is " + std::to_string(size) +
                            " bytes long; a format chunk needs at least 16.");
  }
  std::array<std::uint8_t, kMinFormatBytes> f{};
  if (!reader.Read(body, f.data(), f.size())) return RefuseUnreadable(info, body);
  info.ExtraFormatBytes = size - kMinFormatBytes;
  info.SoundFileCompressionCode = U16(f.data());
  info.SoundFileNoOfChannels = U16(f.data() + 2);
  info.SoundFileSampleRate = U32(f.data() + 4);
  info.SoundFileAvBytesPerSecond = U32(f.data() + 8);
  info.SoundFileBlockAlign = U16(f.data() + 12);
  info.SoundFileSigBitsPerSample = U16(f.data() + 14);
  const auto channels = info.SoundFileNoOfChannels;
  info.ByteSwap = false;
  info.TwoChan = channels == 2;
  info.ChannelMismatch = channels != 1 && channels != 2 && channels != 5;
  return CheckFormatFields(info);
}

// The "data" chunk: its body starts the sample data; a size past the end is cut to the file.
void TakeData(WavHeaderInfo& info, std::uint64_t body, std::uint32_t size, std::uint64_t fileSize) {
  const std::uint64_t available = fileSize - body;
  info.StreamDataChunk = body;
  info.DeclaredChunkLength = size;
  info.DataCut = size > available;
  info.ChunkLength = static_cast<std::uint32_t>(std::min<std::uint64_t>(size, available));
  info.PlayTime = info.ChunkLength / info.SoundFileAvBytesPerSecond;
}

// Walks the chunks after the RIFF header by their sizes until the first "data" chunk that
// follows a "fmt " chunk. Every step moves forward by at least 8 bytes and stops at the end.
bool WalkChunks(BoundedReader& reader, WavHeaderInfo& info) {
  const std::uint64_t fileSize = reader.Size();
  bool haveFormat = false;
  info.FormatIdMismatch = true;
  for (std::uint64_t pos = kRiffHeaderBytes;; ) {
    if (fileSize - pos < kChunkHeaderBytes) {
      return Refuse(info, std::string(haveFormat ? "No \"data\" chunk" : "No \"fmt \" chunk") +
                              " found before the end of the file (" +
                              std::to_string(fileSize) + " bytes).");
    }
    std::array<std::uint8_t, kChunkHeaderBytes> h{};
    if (!reader.Read(pos, h.data(), h.size())) return RefuseUnreadable(info, pos);
    const std::string id = Text(h.data(), 4);
    const std::uint32_t size = U32(h.data() + 4);
    const std::uint64_t body = pos + kChunkHeaderBytes;
    if (pos == kRiffHeaderBytes) info.BiffFormat.FormatId = id;
    if (id == "data") {
      if (!haveFormat) {
        return Refuse(info, "The \"data\" chunk at byte " + std::to_string(pos) +
                                " comes before any \"fmt \" chunk.");
      }
      TakeData(info, body, size, fileSize);
      return true;
    }
    if (size > fileSize - body) {
      return Refuse(info, "The " + Quoted(id) + " chunk at byte " + std::to_string(pos) +
                              " declares " + std::to_string(size) +
                              " bytes, past the end of the file (" + std::to_string(fileSize) +
                              " bytes).");
    }
    if (id == "fmt " && !haveFormat) {
      if (!ReadFormat(reader, info, body, size)) return false;
      haveFormat = true;
    }
    pos = body + size + (size & 1u);  // a chunk of odd size is followed by a pad byte
    if (pos > fileSize) pos = fileSize;  // pad byte missing at the very end
  }
}

long double RoundHalfEven(long double x) {
  const long double f = std::floor(x);
  const long double d = x - f;
  if (d < 0.5L) return f;
  if (d > 0.5L) return f + 1;
  return std::fmod(f, 2.0L) == 0 ? f : f + 1;
}

}  // namespace

WavHeaderInfo ReadWavHeader(std::istream& in, std::uint64_t fileSize) {
  WavHeaderInfo info;
  BoundedReader reader(in, fileSize);
  if (ReadRiffHeader(reader, info) && WalkChunks(reader, info) &&
      !reader.Seek(info.StreamDataChunk)) {
    RefuseUnreadable(info, info.StreamDataChunk);
  }
  return info;
}

TimeLists StartEndTimeLists(std::uint32_t playTime) {
  TimeLists lists;
  const std::uint32_t n = playTime > 1 ? std::min(playTime - 1, kMaxTimeListEntries) : 0;
  lists.Start.reserve(n);
  lists.End.reserve(n);
  for (std::uint32_t i = 1; i <= n; ++i) {
    lists.Start.push_back(std::to_string(i));
    lists.End.push_back(std::to_string(i + 1));
  }
  return lists;
}

std::uint64_t StartOffsetBytes(double startTimeSeconds, std::uint32_t avBytesPerSecond,
                               std::uint32_t blockAlign) {
  if (!std::isfinite(startTimeSeconds) || startTimeSeconds <= 0) return 0;
  // Beyond 2^62 bytes no file is that long; clamp before converting.
  constexpr long double kLimit = 4611686018427387904.0L;
  const long double bytes =
      std::min(RoundHalfEven(static_cast<long double>(avBytesPerSecond) * startTimeSeconds),
               kLimit);
  auto offset = static_cast<std::uint64_t>(bytes);
  if (blockAlign > 1) offset -= offset % blockAlign;
  return offset;
}

std::string FileStatsText(const WavHeaderInfo& info) {
  return "Sample rate " + std::to_string(info.SoundFileSampleRate) + " Bits/Sample " +
         std::to_string(info.SoundFileSigBitsPerSample) + " Channels " +
         std::to_string(info.SoundFileNoOfChannels) + " Estimated Run Time " +
         std::to_string(info.PlayTime);
}

std::optional<std::string> AcceptanceProblem(const WavHeaderInfo& info) {
  const bool good = info.SoundFileSampleRate == 44100 && info.SoundFileSigBitsPerSample == 16 &&
                    (info.SoundFileNoOfChannels == 1 || info.SoundFileNoOfChannels == 2) &&
                    info.PlayTime >= 2;
  if (good) return std::nullopt;
  return std::string(kNotCompliantMessage) + FileStatsText(info);
}

}  // namespace oxw::engine
