// libFuzzer target for the records Shell_NotifyIcon sends the tray window,
// the first byte their kind (dwData): any bytes decode without a fault.
#include <cstdint>

#include "traydock/notify_request.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 0) ludora::traydock::DecodeRequest(data[0] % 8, {data + 1, size - 1});
  return 0;
}
