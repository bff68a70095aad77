// The three windows as the program defines them: settings and controls,
// positions in twips (15 twips make a pixel at 96 dpi).
#pragma once

#include <array>
#include <string_view>

namespace ludora {

inline constexpr int kTwipsPerPixel = 15;  // at 96 dpi

struct TwipsRect {
  int left, top, width, height;
};

enum class Pointer { Arrow, HotSpot };

struct LabelDefinition {
  std::string_view name;
  TwipsRect twips;
  Pointer pointer;
  std::string_view tooltip;  // empty: set at run time, or none
  bool enabled = true;
  std::string_view caption = {};
};

struct WindowDefinition {
  std::string_view caption;
  int clientWidthTwips;
  int clientHeightTwips;
};

// Form3, the bar: the start-up window, borderless, its skin covering it.
inline constexpr WindowDefinition kForm3{"Corvane Ludora ZR", 5145, 330};

// Form3's labels in the order they are created; a later one lies above an
// earlier one where they overlap.
inline constexpr std::array<LabelDefinition, 7> kForm3Labels = {{
    {"Label7", {4560, 0, 615, 375}, Pointer::Arrow, ""},
    {"Label6", {-120, -120, 1095, 975}, Pointer::HotSpot, "Click here to launch Ludora QuickMenu."},
    {"Label5", {3360, -120, 615, 975}, Pointer::HotSpot, "Click here to launch Desktop Programs."},
    {"Label4",
     {2760, -120, 615, 975},
     Pointer::HotSpot,
     "Click here to launch Change Display Settings."},
    {"Label3", {2160, -240, 615, 975}, Pointer::HotSpot, "Click here to browse the Web."},
    {"Label2", {1560, -120, 615, 975}, Pointer::HotSpot, "Click here to launch Quick Games List."},
    {"Label1",
     {960, -120, 615, 975},
     Pointer::HotSpot,
     "Click here to launch Start Menu programs."},
}};

// Form1, the quick-menu owner: never shown, its menu `ae` pops up over the bar.
inline constexpr WindowDefinition kForm1{"s", 5115, 330};
inline constexpr unsigned kForm1TimerMs = 30000;

// Form2, the memory defragmenter: borderless, centred on the screen.
inline constexpr WindowDefinition kForm2{"Remtide ZR Memory Defragmenter", 4740, 1395};
inline constexpr unsigned kForm2TimerMs = 5;
inline constexpr std::array<LabelDefinition, 2> kForm2Labels = {{
    {"Label2", {3240, 720, 1455, 615}, Pointer::Arrow, "Close Defragmenter", false},
    {"Label1", {1680, 480, 1335, 615}, Pointer::Arrow, "", true, "0% Complete"},
}};

template <std::size_t N>
constexpr bool HasLabel(const std::array<LabelDefinition, N>& labels, std::string_view name) {
  for (const LabelDefinition& label : labels) {
    if (label.name == name) return true;
  }
  return false;
}

// The label of `labels` topmost at (x, y), a client point in twips, or nullptr.
template <std::size_t N>
const LabelDefinition* LabelAt(const std::array<LabelDefinition, N>& labels, int x, int y) {
  for (auto it = labels.rbegin(); it != labels.rend(); ++it) {
    const TwipsRect& r = it->twips;
    if (x >= r.left && x < r.left + r.width && y >= r.top && y < r.top + r.height) return &*it;
  }
  return nullptr;
}

}  // namespace ludora
