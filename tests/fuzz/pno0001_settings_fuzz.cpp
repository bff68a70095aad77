// libFuzzer target for the shooter's player file: any bytes give settings
// in range, and what was read, written back, reads the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "pno0001/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ludora::pno0001;
  const Settings read = ReadSettings(reinterpret_cast<const char*>(data), size);
  if (read.best < 0 || read.best > 999999999) std::abort();
  char text[64];
  const Settings again = ReadSettings(text, WriteSettings(read, text));
  if (again.best != read.best || again.fullScreen != read.fullScreen) std::abort();
  return 0;
}
