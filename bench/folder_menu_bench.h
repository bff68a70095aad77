// The folder-menu benchmark: the real ShowFolderMenu against a bare walk of
// the same tree.
#pragma once

#include <string>
#include <vector>

namespace ludora::bench {

struct TreeToMeasure {
  std::string name;       // as printed, e.g. "LARGE"
  std::string appFolder;  // the tree is its "games" folder, as the games hot spot reads it
};

// Measures every tree and prints the table. `breakdown` adds runs of the
// scan with parts of it switched off, to see where its time goes (first
// tree only). Returns false when a menu came out incomplete.
bool RunFolderMenuBench(const std::vector<TreeToMeasure>& trees, int repetitions, bool breakdown);

}  // namespace ludora::bench
