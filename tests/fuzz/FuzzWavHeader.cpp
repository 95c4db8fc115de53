// Fuzz target of the RIFF/WAVE header reader. Any byte string must end in a header or a
// refusal, without a crash, a hang or a read outside the input; a header that is read must
// describe data inside the file. Run: oxw_fuzz_wav_header -dict=wav_header.dict -max_len=4096
#include "engine/WavHeader.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace {

using oxw::engine::WavHeaderInfo;

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

void CheckHeader(const WavHeaderInfo& h, std::uint64_t fileSize, std::istream& in) {
  if (h.refusal) {
    Require(!h.refusal->empty());
    return;
  }
  Require(h.StreamDataChunk >= 20 && h.StreamDataChunk <= fileSize);
  Require(h.StreamDataChunk + h.ChunkLength <= fileSize);
  Require(h.ChunkLength <= h.DeclaredChunkLength);
  Require(h.DataCut == (h.ChunkLength < h.DeclaredChunkLength));
  Require(h.SoundFileNoOfChannels > 0 && h.SoundFileAvBytesPerSecond > 0);
  Require(h.SoundFileBlockAlign ==
          h.SoundFileNoOfChannels * ((h.SoundFileSigBitsPerSample + 7u) / 8u));
  Require(static_cast<std::uint64_t>(in.tellg()) == h.StreamDataChunk);
  const auto lists = oxw::engine::StartEndTimeLists(h.PlayTime);
  Require(lists.Start.size() == lists.End.size());
  const std::uint64_t offset =
      oxw::engine::StartOffsetBytes(h.PlayTime / 2.0 + 0.5, h.SoundFileAvBytesPerSecond,
                                    h.SoundFileBlockAlign);
  Require(offset % h.SoundFileBlockAlign == 0);
  (void)oxw::engine::AcceptanceProblem(h);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  {
    std::istringstream in(bytes);
    CheckHeader(oxw::engine::ReadWavHeader(in, size), size, in);
  }
  {
    // The caller's size may exceed what the stream holds: reads must fail cleanly.
    std::istringstream in(bytes);
    const WavHeaderInfo h = oxw::engine::ReadWavHeader(in, size + 64);
    if (!h.refusal) Require(h.StreamDataChunk + h.ChunkLength <= size + 64);
  }
  return 0;
}
