// lobbyfind's window as the browser drives it: what it shows, and what it
// was asked to do.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "lobbyfind/browser.h"

namespace ludora::lobbyfind {

struct FakeBrowserView : BrowserView {
  void SetTitle(const std::string& text) override { title = text, ++titles; }
  void SetStatus(const std::string& text) override { status = text; }
  void ShowTab(int shown) override { tab = shown; }
  void SetRowCount(std::size_t count) override { rows = count, ++counts; }
  void SelectRow(int row) override { selected = row; }
  void RedrawRows() override {
    ++redraws;
    if (drawing) drawing();  // what the drawing costs, on the test's clock
  }
  void ShowDetails(const TextRows& shownPlayers, const TextRows& shownSettings) override {
    players = shownPlayers, settings = shownSettings;
  }
  bool SetTimer(UINT ms) override {
    if (timerFails) return false;
    timers.push_back(ms);
    return true;
  }
  void ResolveMaster(const std::string& name, int) override { resolving.push_back(name); }

  std::string title, status;
  int titles = 0, tab = -1, selected = -1, counts = 0, redraws = 0;
  std::size_t rows = 0;
  TextRows players, settings;
  std::function<void()> drawing;
  bool timerFails = false;
  std::vector<UINT> timers;  // each period set, in order
  std::vector<std::string> resolving;
};

}  // namespace ludora::lobbyfind
