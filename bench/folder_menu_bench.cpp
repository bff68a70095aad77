#include "folder_menu_bench.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "ludora/folder_menu.h"
#include "timing.h"
#include "win32/real_windows_api.h"

namespace ludora::bench {

namespace {

// The parts of the scan that the breakdown can switch off.
struct ScanSwitches {
  bool insertItems = true;  // InsertMenuA
  bool menus = true;        // CreatePopupMenu / InsertMenuA / DestroyMenu altogether
  bool messages = true;     // the message pass once per folder
};

// Real Windows, except that tracking only stamps the time and picks
// nothing; counts the calls so the table can show what was built.
class StampingApi : public RealWindowsApi {
 public:
  explicit StampingApi(ScanSwitches switches = {}) : switches_(switches) {}

  BOOL TrackPopupMenu(ludora::HMENU, UINT, int, int, int, ludora::HWND,
                      const ludora::RECT*) override {
    trackedAt = SecondsNow();
    return 0;
  }
  ludora::HMENU CreatePopupMenu() override {
    ++menusCreated;
    return switches_.menus ? RealWindowsApi::CreatePopupMenu() : menusCreated;
  }
  BOOL InsertMenuA(ludora::HMENU menu, UINT position, UINT flags, std::uintptr_t id,
                   const char* text) override {
    ++entriesInserted;
    if (!switches_.menus || !switches_.insertItems) return TRUE;
    return RealWindowsApi::InsertMenuA(menu, position, flags, id, text);
  }
  BOOL DestroyMenu(ludora::HMENU menu) override {
    return switches_.menus ? RealWindowsApi::DestroyMenu(menu) : TRUE;
  }
  BOOL PeekMessageA(ludora::MSG* message, ludora::HWND window, UINT min, UINT max,
                    UINT remove) override {
    return switches_.messages && RealWindowsApi::PeekMessageA(message, window, min, max, remove);
  }

  double trackedAt = 0;
  unsigned menusCreated = 0;
  unsigned entriesInserted = 0;

 private:
  ScanSwitches switches_;
};

struct ScanResult {
  double seconds = 0;
  unsigned menus = 0;
  unsigned inserted = 0;
  std::size_t items = 0;
};

// One click on the games hot spot, from the start of the handler to the
// menu being tracked.
ScanResult TimeScan(const std::string& appFolder, ScanSwitches switches = {}) {
  StampingApi api(switches);
  FolderMenuState state;
  FolderMenuContext context{api, state, appFolder, nullptr};
  const double start = SecondsNow();
  ShowFolderMenu(context, 0, kGamesFolderSelector);
  return {api.trackedAt - start, api.menusCreated, api.entriesInserted, state.items.size()};
}

// What the walk saw, by level below the root (the root is level 0).
struct TreeShape {
  std::vector<unsigned> folders = std::vector<unsigned>(1, 1);
  std::vector<unsigned> files = std::vector<unsigned>(1, 0);

  void Count(std::vector<unsigned>& perLevel, std::size_t level) {
    if (perLevel.size() <= level) perLevel.resize(level + 1, 0);
    ++perLevel[level];
  }
  unsigned Sum(const std::vector<unsigned>& perLevel, std::size_t from) const {
    unsigned sum = 0;
    for (std::size_t i = from; i < perLevel.size(); ++i) sum += perLevel[i];
    return sum;
  }
  unsigned subfolders() const { return Sum(folders, 1); }
  unsigned fileCount() const { return Sum(files, 0); }
  unsigned entries() const { return subfolders() + fileCount(); }

  // "10 x 10 x 10 folders, 10 files in each of the 1000 leaf folders" when
  // the tree is regular, else the counts level by level.
  std::string Describe() const {
    std::string text;
    bool regular = files.size() == folders.size() && fileCount() == files.back();
    for (std::size_t i = 1; i < folders.size(); ++i) regular &= folders[i] % folders[i - 1] == 0;
    regular &= files.back() % folders.back() == 0;
    char part[96];
    if (regular) {
      for (std::size_t i = 1; i < folders.size(); ++i) {
        std::snprintf(part, sizeof part, "%s%u", i > 1 ? " x " : "", folders[i] / folders[i - 1]);
        text += part;
      }
      std::snprintf(part, sizeof part, " folders, %u files in each of the %u leaf folders",
                    files.back() / folders.back(), folders.back());
      return text + part;
    }
    for (std::size_t i = 0; i < std::max(folders.size(), files.size()); ++i) {
      std::snprintf(part, sizeof part, "%slevel %u: %u folders %u files", i ? "; " : "",
                    static_cast<unsigned>(i), i < folders.size() ? folders[i] : 0,
                    i < files.size() ? files[i] : 0);
      text += part;
    }
    return text;
  }
};

// The least a program must do to know the tree: list every folder once
// and read the attributes of every subfolder candidate (the plain-folder
// test), recursing into the plain ones.
void BareWalk(const std::string& folder, std::size_t level, TreeShape& shape) {
  ::WIN32_FIND_DATAA data;
  const ::HANDLE find = ::FindFirstFileA((folder + "*").c_str(), &data);
  if (find == reinterpret_cast<::HANDLE>(-1)) return;  // INVALID_HANDLE_VALUE
  do {
    const char* name = data.cFileName;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      const std::string path = folder + name;
      if (::GetFileAttributesA(path.c_str()) == FILE_ATTRIBUTE_DIRECTORY) {
        shape.Count(shape.folders, level + 1);
        BareWalk(path + "\\", level + 1, shape);
      }
    } else {
      shape.Count(shape.files, level);
    }
  } while (::FindNextFileA(find, &data));
  ::FindClose(find);
}

double TimeBareWalk(const std::string& root, TreeShape* shape = nullptr) {
  TreeShape seen;
  const double start = SecondsNow();
  BareWalk(root, 0, seen);
  const double seconds = SecondsNow() - start;
  if (shape) *shape = seen;
  return seconds;
}

double Ms(double seconds) {
  return seconds * 1e3;
}
double UsPer(double seconds, unsigned count) {
  return count ? seconds * 1e6 / count : 0;
}

struct TreeFigures {
  const TreeToMeasure* tree;
  TreeShape shape;
  ScanResult built;
  Samples scan, bare;
  Samples ratio;  // scan / bare of each repetition's pair
};

void PrintBreakdown(const TreeFigures& figures, int repetitions) {
  struct Variant {
    const char* what;
    ScanSwitches switches;
  };
  const Variant variants[] = {
      {"full scan", {}},
      {"without InsertMenuA", {false, true, true}},
      {"without any menu call", {true, false, true}},
      {"without the message pass", {true, true, false}},
      {"without menus and message pass", {true, false, false}},
  };
  constexpr int kVariants = sizeof variants / sizeof variants[0];
  Samples times[kVariants], ratios[kVariants];
  Samples bare;
  const std::string root = figures.tree->appFolder + "\\games\\";
  for (int r = 0; r < repetitions; ++r) {
    for (int v = 0; v < kVariants; ++v) {
      const double scan = TimeScan(figures.tree->appFolder, variants[v].switches).seconds;
      const double walk = TimeBareWalk(root);
      times[v].Add(scan);
      ratios[v].Add(scan / walk);
      bare.Add(walk);
    }
  }
  std::printf(
      "\nWhere the %s scan's time goes (median of %d; each variant paired with a bare\n"
      "walk right after it, x bare = median of those pairs' ratios):\n",
      figures.tree->name.c_str(), repetitions);
  std::printf("  %-34s %9s %12s %10s\n", "variant", "ms", "us/entry", "x bare");
  for (int v = 0; v < kVariants; ++v) {
    const double t = times[v].Median();
    std::printf("  %-34s %9.2f %12.2f %10.2f\n", variants[v].what, Ms(t),
                UsPer(t, figures.shape.entries()), ratios[v].Median());
  }
  std::printf("  %-34s %9.2f %12.2f %10.2f\n", "bare walk", Ms(bare.Median()),
              UsPer(bare.Median(), figures.shape.entries()), 1.0);
}

}  // namespace

bool RunFolderMenuBench(const std::vector<TreeToMeasure>& trees, int repetitions, bool breakdown) {
  std::vector<TreeFigures> all;
  bool allComplete = true;
  for (const TreeToMeasure& tree : trees) {
    TreeFigures figures{&tree, {}, {}, {}, {}, {}};
    const std::string root = tree.appFolder + "\\games\\";
    // Once untimed: warms the file-system caches and checks the menu is
    // complete (one entry per file and per plain subfolder).
    TimeBareWalk(root, &figures.shape);
    figures.built = TimeScan(tree.appFolder);
    for (int r = 0; r < repetitions; ++r) {
      const double scan = TimeScan(tree.appFolder).seconds;
      const double bare = TimeBareWalk(root);
      figures.scan.Add(scan);
      figures.bare.Add(bare);
      figures.ratio.Add(scan / bare);
    }
    all.push_back(figures);
  }

  std::printf("FOLDER MENUS: median of %d repetitions, scan and bare walk alternated\n",
              repetitions);
  std::printf("  scan = real ShowFolderMenu(selector 99), click handler start to TrackPopupMenu\n");
  std::printf(
      "  bare = FindFirstFileA/FindNextFileA per folder + GetFileAttributesA per subfolder\n");
  std::printf(
      "  scan/bare = median of the ratios of each repetition's pair (load on the machine\n"
      "  that lasts longer than one pair cancels out)\n");
  for (const TreeFigures& f : all) {
    const bool complete = f.built.items == f.shape.fileCount() &&
                          f.built.inserted == f.shape.entries() &&
                          f.built.menus == f.shape.subfolders() + 1;
    std::printf("  %-6s %s\n", f.tree->name.c_str(), (f.tree->appFolder + "\\games").c_str());
    std::printf("         shape: %s\n", f.shape.Describe().c_str());
    std::printf(
        "         %u folders + %u files = %u entries\n"
        "         menu built: %u menus, %u entries, %u items in the table (%s)\n",
        f.shape.subfolders(), f.shape.fileCount(), f.shape.entries(), f.built.menus,
        f.built.inserted, static_cast<unsigned>(f.built.items),
        complete ? "complete" : "INCOMPLETE");
    allComplete &= complete;
  }
  std::printf("\n  %-6s %7s %8s %15s %8s %15s %9s %11s %11s\n", "tree", "entries", "scan ms",
              "(min-max)", "bare ms", "(min-max)", "scan/bare", "scan us/ent", "bare us/ent");
  for (const TreeFigures& f : all) {
    const unsigned n = f.shape.entries();
    std::printf("  %-6s %7u %8.2f (%6.1f-%6.1f) %8.2f (%6.1f-%6.1f) %9.2f %11.2f %11.2f\n",
                f.tree->name.c_str(), n, Ms(f.scan.Median()), Ms(f.scan.Min()), Ms(f.scan.Max()),
                Ms(f.bare.Median()), Ms(f.bare.Min()), Ms(f.bare.Max()), f.ratio.Median(),
                UsPer(f.scan.Median(), n), UsPer(f.bare.Median(), n));
  }
  if (all.size() == 2) {
    const TreeFigures& a = all[0];
    const TreeFigures& b = all[1];
    const auto growth = [](const Samples& x, unsigned nx, const Samples& y, unsigned ny) {
      return UsPer(x.Median(), nx) / UsPer(y.Median(), ny);
    };
    std::printf("  per-entry time %s / %s: scan %.2f, bare %.2f (1.00 = linear growth)\n",
                a.tree->name.c_str(), b.tree->name.c_str(),
                growth(a.scan, a.shape.entries(), b.scan, b.shape.entries()),
                growth(a.bare, a.shape.entries(), b.bare, b.shape.entries()));
  }
  if (breakdown && !all.empty()) PrintBreakdown(all.front(), repetitions);
  return allComplete;
}

}  // namespace ludora::bench
