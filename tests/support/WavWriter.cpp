// Test-side RIFF/WAVE writer.
#include "support/WavWriter.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

namespace oxw::test {
namespace {

void CheckRange(const std::vector<std::uint8_t>& bytes, std::size_t offset, std::size_t n) {
  if (offset > bytes.size() || n > bytes.size() - offset) {
    throw std::out_of_range("patch beyond the end of the bytes");
  }
}

void AppendLE(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void AppendId(std::vector<std::uint8_t>& out, const std::string& id) {
  if (id.size() != 4) throw std::invalid_argument("chunk identifier must have 4 characters");
  out.insert(out.end(), id.begin(), id.end());
}

void AppendChunk(std::vector<std::uint8_t>& out, const WavChunk& chunk) {
  AppendId(out, chunk.id);
  AppendLE(out, static_cast<std::uint32_t>(chunk.body.size()), 4);
  out.insert(out.end(), chunk.body.begin(), chunk.body.end());
  if (chunk.body.size() % 2 == 1) out.push_back(0);
}

void CheckBits(const WavFormat& wavFormat) {
  if (wavFormat.bitsPerSample != 8 && wavFormat.bitsPerSample != 16 && wavFormat.bitsPerSample != 24) {
    throw std::invalid_argument("WavWriter writes 8, 16 or 24 bits only");
  }
}

// One sample code of wavFormat.bitsPerSample bits, as written (8-bit offset to unsigned).
void AppendCode(std::vector<std::uint8_t>& out, int bits, std::int32_t code) {
  if (bits == 8) code += 128;
  AppendLE(out, static_cast<std::uint32_t>(code), bits / 8);
}

std::int32_t CodeOfDouble(double x, int bits) {
  const double full = std::ldexp(1.0, bits - 1) - 1.0;
  return static_cast<std::int32_t>(std::lround(std::clamp(x, -1.0, 1.0) * full));
}

std::int32_t CodeOfInt16(std::int16_t v, int bits) {
  if (bits == 8) return v >> 8;
  if (bits == 24) return static_cast<std::int32_t>(v) * 256;
  return v;
}

// Header, chunks and data; the declared sizes describe the whole data even when it is cut.
std::vector<std::uint8_t> Assemble(const WavFormat& wavFormat, const std::vector<std::uint8_t>& data) {
  const std::uint16_t align = static_cast<std::uint16_t>(wavFormat.channels * (wavFormat.bitsPerSample / 8));
  std::vector<std::uint8_t> out;
  AppendId(out, "RIFF");
  AppendLE(out, 0, 4);  // RIFF size, filled in below
  AppendId(out, "WAVE");
  for (const auto& chunk : wavFormat.chunksBeforeFormat) AppendChunk(out, chunk);
  std::vector<std::uint8_t> fmt;
  AppendLE(fmt, wavFormat.formatCode, 2);
  AppendLE(fmt, wavFormat.channels, 2);
  AppendLE(fmt, wavFormat.sampleRate, 4);
  AppendLE(fmt, wavFormat.sampleRate * align, 4);
  AppendLE(fmt, align, 2);
  AppendLE(fmt, wavFormat.bitsPerSample, 2);
  fmt.insert(fmt.end(), wavFormat.extraFormatBytes.begin(), wavFormat.extraFormatBytes.end());
  AppendChunk(out, {"fmt ", fmt});
  for (const auto& chunk : wavFormat.chunksBeforeData) AppendChunk(out, chunk);
  AppendChunk(out, {"data", data});
  PutU32(out, 4, static_cast<std::uint32_t>(out.size() - 8));
  if (wavFormat.keepDataBytes && *wavFormat.keepDataBytes < data.size()) {
    out.resize(out.size() - (data.size() % 2) - (data.size() - *wavFormat.keepDataBytes));
  }
  return out;
}

}  // namespace

std::vector<std::uint8_t> WavBytes(const WavFormat& wavFormat,
                                   const std::vector<std::vector<double>>& channelSamples) {
  CheckBits(wavFormat);
  if (channelSamples.size() != wavFormat.channels) {
    throw std::invalid_argument("one sample vector per channel expected");
  }
  const std::size_t frames = channelSamples.empty() ? 0 : channelSamples.front().size();
  for (const auto& ch : channelSamples) {
    if (ch.size() != frames) throw std::invalid_argument("channels differ in length");
  }
  std::vector<std::uint8_t> data;
  data.reserve(frames * wavFormat.channels * (wavFormat.bitsPerSample / 8));
  for (std::size_t i = 0; i < frames; ++i) {
    for (const auto& ch : channelSamples) {
      AppendCode(data, wavFormat.bitsPerSample, CodeOfDouble(ch[i], wavFormat.bitsPerSample));
    }
  }
  return Assemble(wavFormat, data);
}

std::vector<std::uint8_t> WavBytesFromFrames(const WavFormat& wavFormat,
                                             const std::vector<std::int16_t>& interleaved) {
  CheckBits(wavFormat);
  if (wavFormat.channels == 0 || interleaved.size() % wavFormat.channels != 0) {
    throw std::invalid_argument("interleaved samples are not whole frames");
  }
  std::vector<std::uint8_t> data;
  data.reserve(interleaved.size() * (wavFormat.bitsPerSample / 8));
  for (std::int16_t v : interleaved) {
    AppendCode(data, wavFormat.bitsPerSample, CodeOfInt16(v, wavFormat.bitsPerSample));
  }
  return Assemble(wavFormat, data);
}

void WriteWavFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void WriteWav(const std::filesystem::path& path, const WavFormat& wavFormat,
              const std::vector<std::vector<double>>& channelSamples) {
  WriteWavFile(path, WavBytes(wavFormat, channelSamples));
}

void WriteWavFrames(const std::filesystem::path& path, const WavFormat& wavFormat,
                    const std::vector<std::int16_t>& interleaved) {
  WriteWavFile(path, WavBytesFromFrames(wavFormat, interleaved));
}

void WriteSparseWav(const std::filesystem::path& path, const WavFormat& wavFormat,
                    std::uint64_t dataBytes) {
  std::vector<std::uint8_t> header = WavBytesFromFrames(wavFormat, {});
  PutU32(header, 4, static_cast<std::uint32_t>(header.size() - 8 + dataBytes));
  PutU32(header, header.size() - 4, static_cast<std::uint32_t>(dataBytes));
  WriteWavFile(path, header);
  std::filesystem::resize_file(path, header.size() + dataBytes);
}

void PutFramesAt(const std::filesystem::path& path, std::uint64_t offset,
                 const std::vector<std::int16_t>& interleaved) {
  std::vector<std::uint8_t> bytes(interleaved.size() * 2);
  for (std::size_t i = 0; i < interleaved.size(); ++i) {
    const auto u = static_cast<std::uint16_t>(interleaved[i]);
    bytes[2 * i] = static_cast<std::uint8_t>(u);
    bytes[2 * i + 1] = static_cast<std::uint8_t>(u >> 8);
  }
  std::fstream out(path, std::ios::binary | std::ios::in | std::ios::out);
  out.seekp(static_cast<std::streamoff>(offset));
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void PutU16(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint16_t value) {
  CheckRange(bytes, offset, 2);
  bytes[offset] = static_cast<std::uint8_t>(value);
  bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

void PutU32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
  CheckRange(bytes, offset, 4);
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void PutId(std::vector<std::uint8_t>& bytes, std::size_t offset, const std::string& id) {
  if (id.size() != 4) throw std::invalid_argument("chunk identifier must have 4 characters");
  CheckRange(bytes, offset, 4);
  std::copy(id.begin(), id.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
}

}  // namespace oxw::test
