// Little-endian byte assembly for the file writers. Every format artgen writes
// (RIFF/WAVE, BMP, ICO) is little-endian whatever machine runs the build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace artgen {

using Bytes = std::vector<std::uint8_t>;

class ByteWriter {
 public:
  void u8(std::uint32_t v) { out_.push_back(static_cast<std::uint8_t>(v & 0xFFu)); }
  void u16(std::uint32_t v) {
    u8(v);
    u8(v >> 8);
  }
  void u32(std::uint32_t v) {
    u16(v & 0xFFFFu);
    u16(v >> 16);
  }
  void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
  void tag(std::string_view fourcc) {
    for (char c : fourcc) u8(static_cast<std::uint8_t>(c));
  }
  void bytes(const Bytes& b) { out_.insert(out_.end(), b.begin(), b.end()); }
  void zeros(std::size_t n) { out_.insert(out_.end(), n, 0); }

  // Patches a field whose value is only known once the payload is written.
  void patchU32(std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out_[at + i] = static_cast<std::uint8_t>((v >> (8 * i)) & 0xFFu);
  }

  std::size_t size() const { return out_.size(); }
  const Bytes& data() const { return out_; }
  Bytes take() { return std::move(out_); }

 private:
  Bytes out_;
};

}  // namespace artgen
