// The defragmenter benchmark: Form2's halfway tick against plain fills of
// the same number of bytes.
#pragma once

#include <cstdint>

namespace ludora::bench {

// Reads the memory as the program does, measures and prints the table;
// `totalPhysOverride`, when not 0, replaces the total the reading gave.
// Returns false when a check of the tick's buffer failed.
bool RunDefragBench(int repetitions, std::uint32_t totalPhysOverride);

}  // namespace ludora::bench
