// ludora_bench: the folder-menu and defragmenter benchmarks, one process.
//   ludora_bench [--reps N] [--breakdown] [--no-menus] [--no-defrag]
//                [--total-phys BYTES] NAME=APPFOLDER...
// Each NAME=APPFOLDER is a tree to open as the games hot spot does:
// APPFOLDER\games. --total-phys measures the defragmenter as if the
// memory reading had given that total.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "defrag_bench.h"
#include "folder_menu_bench.h"

int main(int argc, char** argv) {
  int repetitions = 7;
  bool breakdown = false, menus = true, defrag = true;
  unsigned long totalPhys = 0;
  std::vector<ludora::bench::TreeToMeasure> trees;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const auto equals = arg.find('=');
    if (arg == "--reps" && i + 1 < argc) {
      repetitions = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--total-phys" && i + 1 < argc) {
      totalPhys = std::strtoul(argv[++i], nullptr, 10);
    } else if (arg == "--breakdown") {
      breakdown = true;
    } else if (arg == "--no-menus") {
      menus = false;
    } else if (arg == "--no-defrag") {
      defrag = false;
    } else if (equals != std::string::npos && equals > 0) {
      trees.push_back({arg.substr(0, equals), arg.substr(equals + 1)});
    } else {
      std::fprintf(stderr,
                   "usage: ludora_bench [--reps N] [--breakdown] [--no-menus] [--no-defrag] "
                   "[--total-phys BYTES] NAME=APPFOLDER...\n");
      return 2;
    }
  }
  bool ok = true;
  if (menus && !trees.empty()) {
    ok = ludora::bench::RunFolderMenuBench(trees, repetitions, breakdown);
    std::printf("\n");
  }
  if (defrag)
    ok &= ludora::bench::RunDefragBench(repetitions, static_cast<std::uint32_t>(totalPhys));
  std::fflush(stdout);
  return ok ? 0 : 1;
}
