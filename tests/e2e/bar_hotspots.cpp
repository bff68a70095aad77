// Where a click lands on each label of the bar, from the bar's own layout:
// "<label> <x>" per line, x the middle of the part of the label that lies
// on top at the bar's middle row, in pixels at 96 dpi.
#include <cstdio>

#include "ludora/form_layout.h"

int main() {
  using namespace ludora;
  const int width = kForm3.clientWidthTwips / kTwipsPerPixel;
  const int middle = kForm3.clientHeightTwips / 2;
  for (const LabelDefinition& label : kForm3Labels) {
    int first = -1, last = -1;
    for (int x = 0; x < width; ++x) {
      if (LabelAt(kForm3Labels, x * kTwipsPerPixel, middle) != &label) continue;
      if (first < 0) first = x;
      last = x;
    }
    if (first >= 0)
      std::printf("%.*s %d\n", int(label.name.size()), label.name.data(), (first + last) / 2);
  }
}
