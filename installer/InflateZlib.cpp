#include "installer/InflateZlib.h"

#include <zlib.h>

#include <algorithm>

std::vector<uint8_t> InflateZlib(std::span<const uint8_t> stream) {
  if (stream.empty() || stream.size() > 0xFFFFFFFFu) return {};
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return {};
  z.next_in = const_cast<Bytef*>(stream.data());  // inflate never writes to its input
  z.avail_in = static_cast<uInt>(stream.size());
  std::vector<uint8_t> out;
  int rc = Z_OK;
  while (rc == Z_OK) {
    const size_t done = out.size();
    out.resize(std::max<size_t>(2 * done, 256 * 1024));
    z.next_out = out.data() + done;
    z.avail_out = static_cast<uInt>(std::min<size_t>(out.size() - done, 0xFFFFFFFFu));
    rc = inflate(&z, Z_NO_FLUSH);
    out.resize(static_cast<size_t>(z.next_out - out.data()));
  }
  inflateEnd(&z);
  // A stream cut short ends in Z_BUF_ERROR, damage in Z_DATA_ERROR; bytes after the end are damage too.
  if (rc != Z_STREAM_END || z.avail_in != 0) return {};
  return out;
}
