// The program's state, owned by WinMain: the settings, the networks and
// their sessions, the tab the user looks at, and the home tab, which holds
// the program's own lines. The window shows what this holds, and hands it
// the user's input, the sockets' messages and the time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "chitter/client.h"
#include "chitter/log_book.h"
#include "chitter/session.h"
#include "chitter/settings.h"
#include "platform/windows_api.h"

namespace ludora::chitter {

// The nicks Tab offers in a conversation of `client`'s: the latest speakers
// first, then the members, the conversation's own name, the user's; each
// once, as shown (UTF-8). Linear in the members: a channel may hold 50,000.
std::vector<std::string> CompletionCandidates(const Client& client,
                                              const Conversation& conversation);

class Chat : public LineObserver {
 public:
  struct Services {
    WindowsApi& api;
    SocketApi& sockets;
    Resolver& resolver;
    const CodePage& ansi;
    LogSink* logs;
    HWND window;
    std::string folder;  // where chitter.ini and the logs are
  };
  // A tab by its network's and conversation's numbers: 0 and 0 the home tab.
  struct Tab {
    std::uint32_t network = 0, conversation = 0;
    bool operator==(const Tab&) const = default;
  };

  explicit Chat(Services services);

  // Reads the settings and connects the networks that connect at start.
  void Start(const Clock& now);
  // Says goodbye to every server.
  void Quit(std::string_view reason, const Clock& now);

  // The home tab, then each network's conversations.
  std::vector<Tab> Tabs() const;
  // Counts every change of the tabs, their order or names.
  std::uint64_t tabChanges() const;
  Session* SessionOf(const Tab& tab) const;
  // The tab's conversation; the home tab's for tabs that are gone.
  Conversation& ConversationOf(const Tab& tab) const;
  std::string Title(const Tab& tab) const;
  // What the line under the tabs says: a channel's topic (with its mIRC
  // codes), whom a private conversation is with, the server's name.
  std::string TopicLine(const Tab& tab) const;
  Tab TabOf(const Session& session, const Conversation& conversation) const;
  void Select(const Tab& tab);
  Tab selected() const { return selected_; }
  void CloseTab(const Tab& tab, const Clock& now);
  // Counts the lines that named the user, everywhere.
  std::uint64_t mentions() const;
  // Nicks to complete in the tab: the latest speakers first, then the rest.
  std::vector<std::string> Candidates(const Tab& tab) const;
  const ServerFeatures& FeaturesOf(const Tab& tab) const;

  // What the user typed into the selected tab (UTF-8): text, or a command.
  void Input(std::string_view text, const Clock& now);

  bool OnSocket(UINT message, WPARAM wParam, LPARAM lParam, const Clock& now);
  void OnResolved(std::uint32_t ticket, const std::vector<DWORD>& addresses, const Clock& now);
  void Tick(const Clock& now);

  const Settings& settings() const { return settings_; }
  std::string settingsPath() const { return services_.folder + "\\" + kSettingsFile; }
  // Changes an option and writes the settings.
  void SetOption(bool Settings::*option, bool on);
  // Connects to a server, the network made and kept in the settings when new.
  void ConnectTo(const ServerName& server, std::string_view password, const Clock& now);
  // A line of the program's own in a tab.
  void Note(const Tab& tab, LineKind kind, std::string text);
  // Wire bytes of the user's text, as the settings say.
  std::string ToWire(std::string_view text) const {
    return Encode(text, services_.ansi, settings_.ansi);
  }

  void Added(const std::string& network, const Conversation& conversation,
             const Line& line) override;

 private:
  struct Network {
    std::uint32_t id;
    std::unique_ptr<Session> session;
  };
  Session& AddSession(const NetworkSettings& network);
  void SaveSettings();

  Services services_;
  IniText ini_;
  Settings settings_;
  ClientOptions options_;
  Numbers numbers_;
  std::unique_ptr<Conversation> home_;
  std::vector<Network> networks_;
  std::uint32_t nextNetwork_ = 1;
  std::uint64_t ownChanges_ = 0;
  Tab selected_;
  Clock now_;  // the time of the event being handled
};

}  // namespace ludora::chitter
