#include "tools/wavgen/Wave.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

void PutTag(std::vector<std::uint8_t>& out, const char (&tag)[5]) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(tag[i]));
}

}  // namespace

std::vector<double> RenderNotes(const std::vector<Note>& notes, std::uint32_t sampleRate,
                                std::size_t sampleCount) {
  std::vector<double> samples(sampleCount, 0.0);
  const double rate = sampleRate;
  const auto attack = static_cast<std::size_t>(rate * 0.004);
  std::size_t start = 0;
  for (const Note& note : notes) {
    const auto length = static_cast<std::size_t>(note.seconds * rate);
    if (note.frequency > 0) {
      // The decay spans the note so that consecutive notes do not click.
      const double decay = 4.0 / std::max<double>(static_cast<double>(length), 1.0);
      for (std::size_t i = 0; i < length && start + i < sampleCount; ++i) {
        const double t = static_cast<double>(i) / rate;
        double envelope = std::exp(-decay * static_cast<double>(i));
        if (i < attack) envelope *= static_cast<double>(i) / static_cast<double>(attack);
        const double phase = 2 * std::numbers::pi * note.frequency * t;
        const double tone = 0.8 * std::sin(phase) + 0.2 * std::sin(2 * phase);
        samples[start + i] += note.volume * envelope * tone;
      }
    }
    start += length;
  }
  for (double& s : samples) s = std::clamp(s, -1.0, 1.0);
  return samples;
}

std::vector<std::uint8_t> WaveFile(const WaveFormat& format, const std::vector<double>& samples) {
  if (format.bitsPerSample != 8 && format.bitsPerSample != 16)
    throw std::invalid_argument("only 8- and 16-bit PCM is written");
  const std::uint32_t bytesPerSample = format.bitsPerSample / 8;
  const auto dataSize = static_cast<std::uint32_t>(samples.size() * bytesPerSample);
  std::vector<std::uint8_t> out;
  out.reserve(44 + dataSize + 1);
  PutTag(out, "RIFF");
  // RIFF chunks are padded to even sizes; the pad byte counts in the RIFF size.
  Put32(out, 36 + dataSize + (dataSize & 1));
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 1);  // mono
  Put32(out, format.sampleRate);
  Put32(out, format.sampleRate * bytesPerSample);
  Put16(out, bytesPerSample);
  Put16(out, format.bitsPerSample);
  PutTag(out, "data");
  Put32(out, dataSize);
  for (double s : samples) {
    if (format.bitsPerSample == 8) {
      out.push_back(static_cast<std::uint8_t>(std::lround(128.0 + s * 127.0)));
    } else {
      const auto v = static_cast<std::int16_t>(std::lround(s * 32767.0));
      Put16(out, static_cast<std::uint16_t>(v));
    }
  }
  if (dataSize & 1) out.push_back(format.bitsPerSample == 8 ? 128 : 0);
  return out;
}
