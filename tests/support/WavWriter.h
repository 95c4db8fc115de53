// Test-side writer of RIFF/WAVE files: PCM of 8, 16 or 24 bits, any channel count and rate,
// with optional extra format bytes, extra chunks and a data chunk cut short. Builds the bytes
// in memory; WriteWavFile puts them on disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace oxw::test {

// A chunk written as it stands: identifier (4 characters), size, body, and a pad byte after a
// body of odd size.
struct WavChunk {
  std::string id;
  std::vector<std::uint8_t> body;
};

struct WavFormat {
  std::uint32_t sampleRate = 44100;
  std::uint16_t bitsPerSample = 16;  // 8 (unsigned), 16 or 24 (signed)
  std::uint16_t channels = 1;
  std::uint16_t formatCode = 1;                // 1 = PCM
  std::vector<std::uint8_t> extraFormatBytes;  // after the 16 standard format bytes
  std::vector<WavChunk> chunksBeforeFormat;    // between "WAVE" and "fmt "
  std::vector<WavChunk> chunksBeforeData;      // between "fmt " and "data" (LIST, odd sizes ...)
  // Keep only this many data bytes; the header still declares the full data size, as in a
  // recording that was cut short.
  std::optional<std::size_t> keepDataBytes;

  // Chainable setters: WavFormat().Rate(48000).Channels(2).ChunkBeforeData({"LIST", body}).
  WavFormat& Rate(std::uint32_t hz) { sampleRate = hz; return *this; }
  WavFormat& Bits(std::uint16_t bits) { bitsPerSample = bits; return *this; }
  WavFormat& Channels(std::uint16_t n) { channels = n; return *this; }
  WavFormat& Format(std::uint16_t code) { formatCode = code; return *this; }
  WavFormat& ExtraFormat(std::vector<std::uint8_t> bytes) {
    extraFormatBytes = std::move(bytes);
    return *this;
  }
  WavFormat& ChunkBeforeFormat(WavChunk chunk) {
    chunksBeforeFormat.push_back(std::move(chunk));
    return *this;
  }
  WavFormat& ChunkBeforeData(WavChunk chunk) {
    chunksBeforeData.push_back(std::move(chunk));
    return *this;
  }
  WavFormat& KeepDataBytes(std::size_t n) { keepDataBytes = n; return *this; }
};

// One vector of samples per channel (all of one length), values in -1..1 (clamped). Full scale
// 1.0 is the largest positive code: 127 above the 8-bit midpoint 128, 32767, 8388607.
std::vector<std::uint8_t> WavBytes(const WavFormat& wavFormat,
                                   const std::vector<std::vector<double>>& channelSamples);

// Interleaved 16-bit frames (wavFormat.channels samples each); for 8 bits the high byte is kept
// (offset by 128), for 24 bits the value is shifted up by 8 bits.
std::vector<std::uint8_t> WavBytesFromFrames(const WavFormat& wavFormat,
                                             const std::vector<std::int16_t>& interleaved);

void WriteWavFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
void WriteWav(const std::filesystem::path& path, const WavFormat& wavFormat,
              const std::vector<std::vector<double>>& channelSamples);
void WriteWavFrames(const std::filesystem::path& path, const WavFormat& wavFormat,
                    const std::vector<std::int16_t>& interleaved);

// A long recording without the disk it would take: the header of `wavFormat` (a canonical
// 44-byte one) declaring `dataBytes` of sample data, then the file made that long without
// writing it, so that its data reads as silence. PutFramesAt writes 16-bit frames into it.
void WriteSparseWav(const std::filesystem::path& path, const WavFormat& wavFormat,
                    std::uint64_t dataBytes);
void PutFramesAt(const std::filesystem::path& path, std::uint64_t offset,
                 const std::vector<std::int16_t>& interleaved);

// Little-endian patches, for building damaged headers from a good one.
void PutU16(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint16_t value);
void PutU32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value);
void PutId(std::vector<std::uint8_t>& bytes, std::size_t offset, const std::string& id);

}  // namespace oxw::test
