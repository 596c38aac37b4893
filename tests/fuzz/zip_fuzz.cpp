// Any bytes as an archive (zip_test.cpp runs damaged ones through this too): the reader extracts
// what it can; a writer takes the bytes over and appends, or leaves them untouched.
#include <cstdlib>

#include "base/zip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace glenvask;
  std::string bytes(reinterpret_cast<const char*>(data), size);
  MemoryZipSource src(bytes);
  ZipReader r;
  if (r.open(src)) {
    for (const auto& e : r.entries()) {
      isSafeEntryName(e.name);
      auto got = r.read(e, 1 << 20);
      if (got && zipCrc32(0, got->data(), got->size()) != e.crc) std::abort();
    }
  }
  MemoryZipFile f;
  f.bytes = bytes;
  ZipWriter w(f, 1);
  if (w.open()) {
    int calls = 0;  // one byte, then the end
    auto one = [&](char* buf, std::size_t) -> std::int64_t { buf[0] = 'x'; return calls++ == 0; };
    if (!w.add({"new.txt", {}, 0, 1}, one)) std::abort();
    if (!w.finish()) std::abort();
    MemoryZipSource again(f.bytes);
    ZipReader check;
    if (!check.open(again) || check.recovered()) std::abort();
  } else if (f.bytes != bytes) {
    std::abort();
  }
  return 0;
}
