// chitter's client fed a server's bytes, whatever they are: the lines, every
// reply and command, the members, and what the window and the logs make of
// each conversation. Nothing may crash, read out of bounds or grow unbounded.
#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <string_view>

#include "chitter/client.h"
#include "chitter/line_reader.h"
#include "chitter/log_book.h"
#include "chitter/line_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ludora::chitter;
  const WesternCodePage western;
  const ClientOptions options{false, 64};
  Client client("Net", Profile{}, western, options);
  client.Connected();
  LineReader reader;
  std::uint64_t ms = 0;
  reader.Feed(std::string_view(reinterpret_cast<const char*>(data), size),
              [&](std::string_view line) {
                client.At(Clock{ms += 700});
                client.Received(line);
                client.Tick();
                client.Outgoing();
              });
  const auto fit = [](const ShownRun&, std::u16string_view text, int room) {
    const std::size_t count =
        std::min<std::size_t>(text.size(), static_cast<std::size_t>(room) / 6);
    return Fit{count, static_cast<int>(count) * 6};
  };
  for (const auto& conversation : client.conversations()) {
    for (const Line& line : conversation->lines()) {
      LogLine(line);
      WrapRuns(ShownRuns(line, true), 300, 40, fit);
    }
    conversation->Sorted(client.features());
  }
  return 0;
}
