// The per-user settings, chitter.ini in the user's Application Data folder,
// which the user may also edit by hand:
//
//   [chitter]
//   nick=Player           the nick; altnick= is tried when it is taken
//   user=player           the user name and real name others see
//   realname=Chitter
//   colours=1             mIRC's colours and bold shown (0: stripped)
//   log=0                 one text file per conversation and day (the logs folder)
//   ansi=0                what the user writes goes out in the ANSI code page
//   tray=1                minimised, the window sits in the notification area
//   scrollback=1000       lines kept per tab, 100 to 10000
//
//   [network <name>]      one section a network
//   servers=host[:port], host[:port]   tried in turn
//   password=             the server's password, if it has one
//   channels=#chan, #other key         joined at every connection
//   nick=                 this network's own nick and other nick, if any
//   connect=1             connected when the program starts
//
// The file is read and written as lines, so what the user wrote (comments,
// order, keys the program does not know) stays as it was; a change is
// written to a new file that then takes the old one's place.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ludora::chitter {

class IniText {
 public:
  struct Change {
    std::string section, key, value;
    bool onlyWhereThere = false;  // changed where the key is, never added
  };
  explicit IniText(std::string_view text = {});
  // Names compare without regard to case, as Windows' profile files do.
  // Changes each key where it is (its first place), or adds it at the end
  // of its section (or of a new section at the end of the file), in one
  // pass over the lines; of two changes of one key, the later one counts.
  void Set(const std::vector<Change>& changes);
  std::string Text() const;

 private:
  std::vector<std::string> lines_;
};

struct NetworkSettings {
  std::string name;
  std::vector<std::string> servers;
  std::string password;
  std::vector<std::string> channels;  // "#chan" or "#chan key"
  std::string nick, altNick;
  bool connect = true;
};

struct Settings {
  std::string nick = "Player", altNick, user = "player", realName = "Chitter";
  bool colours = true, log = false, ansi = false, tray = true;
  std::size_t scrollback = 1000;
  std::vector<NetworkSettings> networks;

  static Settings From(const IniText& ini);
  // The program's own changes into `ini`: the options, and the networks'
  // servers, channels, password and "connect".
  void Into(IniText& ini) const;
};

inline constexpr char kSettingsFile[] = "chitter.ini";

}  // namespace ludora::chitter
