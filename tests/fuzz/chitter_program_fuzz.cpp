// chitter's program as a whole, driven by bytes: its settings file, then
// steps, each a record after a 0x1E, its first byte saying what happens:
//   s<bytes>  the server sends the bytes       u<text>  the user types a line
//   c<n>      the connection opens (n: error)   x  the server closes it
//   w         the socket can be written again   p  the server stops reading
//   r<n>      the name is found (n: none)       t<n>  n seconds pass
//   n         the next tab                      q  the tab is closed
//   o         the logs are turned on or off
// What the window asks of the tab shown after each step, and of every tab
// at the end (title, topic line, Tab's names and completion, the lines'
// runs), is asked too; every line goes to the logs' names. Nothing may crash, read out of bounds or
// grow without bound.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>

#include "chitter/chat.h"
#include "chitter/input_line.h"
#include "chitter/line_layout.h"
#include "fake/fake_windows.h"
#include "fake/sockets.h"

namespace {

using namespace ludora;
using namespace ludora::chitter;

constexpr char kFolder[] = "C:\\Chitter";

void Check(bool condition) {
  if (!condition) std::abort();
}

struct Resolutions : Resolver {
  void Resolve(std::uint32_t ticket, const std::string&) override { last = ticket; }
  std::uint32_t last = 0;
};

// Counts what would be written, a file's size at most its cap and a line.
struct Logs : LogSink {
  std::uint64_t Size(const std::string& path) override { return sizes[path]; }
  void Append(const std::string& path, const std::string& text) override {
    Check(path.starts_with(std::string(kFolder) + "\\logs\\") && path.ends_with(".log"));
    Check(std::ranges::none_of(path.substr(sizeof kFolder), [](char c) {
      return static_cast<unsigned char>(c) < 0x20 ||
             std::string_view(":*?\"<>|/").find(c) != std::string_view::npos;
    }));
    sizes[path] += text.size();
  }
  std::map<std::string, std::uint64_t> sizes;
};

Clock At(std::uint64_t ms) {
  Clock now;
  now.ms = ms;
  now.year = 2026, now.month = 12, now.day = static_cast<int>(10 + ms / 86400000 % 20);
  now.hour = static_cast<int>(ms / 3600000 % 24);
  return now;
}

struct Program {
  Program() {
    sockets.listening.insert({0x7F000001, 6667});
    api.AddFolder(kFolder);
  }
  UINT Message() const {
    if (sockets.asyncSelects.empty()) return 0;
    const std::string& last = sockets.asyncSelects.back();
    return static_cast<UINT>(std::stoul(last.substr(last.find(' ', last.find(' ') + 1))));
  }
  void Post(long event, int error) {
    chat.OnSocket(Message(), sockets.LastSocket(), static_cast<LPARAM>(event | (error << 16)),
                  At(ms));
  }
  // What the window shows of a tab: its newest lines, or all of them.
  void Look(const Chat::Tab& tab, bool all) {
    chat.Title(tab);
    TopicRuns(chat.TopicLine(tab), true);
    const auto names = chat.Candidates(tab);
    NickCompleter completer;
    for (const std::u16string typed : {u"p", u"#", u"\u00E9"}) {
      completer.Reset();
      if (const auto done = completer.Next(typed, 1, names, chat.FeaturesOf(tab)))
        Check(done->cursor <= done->text.size());
    }
    const auto& lines = chat.ConversationOf(tab).lines();
    for (std::size_t i = all || lines.size() < 8 ? 0 : lines.size() - 8; i < lines.size(); ++i)
      ShownRuns(lines[i], true);
  }

  ludora::testing::FakeWindows api;
  ludora::testing::FakeSockets sockets;
  Resolutions resolver;
  WesternCodePage western;
  Logs logs;
  Chat chat{{api, sockets, resolver, western, &logs, 0x99, kFolder}};
  std::uint64_t ms = 0;
  std::size_t tab = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const auto next = [&] {
    const std::string_view record = input.substr(0, input.find('\x1E'));
    input.remove_prefix(std::min(input.size(), record.size() + 1));
    return record;
  };
  Program program;
  program.api.AddFile(std::string(kFolder) + "\\chitter.ini", std::string(next()));
  Chat& chat = program.chat;
  chat.Start(At(0));
  for (int steps = 0; !input.empty() && steps < 200; ++steps) {
    const std::string_view record = next();
    if (record.empty()) continue;
    const std::string_view rest = record.substr(1);
    const int n = rest.empty() ? 0 : static_cast<unsigned char>(rest.front());
    program.ms += 100;
    switch (record.front()) {
      case 's':
        program.sockets.PeerSends(program.sockets.LastSocket(), std::string(rest));
        program.ms += Session::kReadGapMs;
        program.Post(FD_READ_, 0);
        break;
      case 'u':
        chat.Input(rest, At(program.ms));
        break;
      case 'c':
        program.Post(FD_CONNECT_, n % 3 == 0 ? 0 : WSAECONNREFUSED_);
        break;
      case 'x':
        program.sockets.PeerCloses(program.sockets.LastSocket());
        program.Post(FD_CLOSE_, 0);
        break;
      case 'w':
        program.Post(FD_WRITE_, 0);
        break;
      case 'p':
        program.sockets.PeerStopsReading(program.sockets.LastSocket());
        break;
      case 'r':
        chat.OnResolved(program.resolver.last,
                        n % 2 ? std::vector<DWORD>{} : std::vector<DWORD>{0x7F000001},
                        At(program.ms));
        break;
      case 't':
        program.ms += static_cast<std::uint64_t>(n) * 1000;
        break;
      case 'n': {
        const auto tabs = chat.Tabs();
        chat.Select(tabs[++program.tab % tabs.size()]);
        break;
      }
      case 'q':
        chat.CloseTab(chat.selected(), At(program.ms));
        break;
      case 'o':
        chat.SetOption(&Settings::log, !chat.settings().log);
        break;
      default:
        break;
    }
    chat.Tick(At(program.ms));
    program.Look(chat.selected(), false);
  }
  for (const Chat::Tab& tab : chat.Tabs()) program.Look(tab, true);
  for (const auto& [path, bytes] : program.logs.sizes) Check(bytes < kLargestLog + 16384);
  return 0;
}
