#include "defrag_bench.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "ludora/form2.h"
#include "memory/memory_reading.h"
#include "timing.h"
#include "win32/real_windows_api.h"

namespace ludora::bench {

namespace {

class SilentView : public Form2View {
 public:
  void SetProgressText(const std::string&) override {}
  void SetTimerEnabled(bool) override {}
  void SetCloseAreaEnabled(bool) override {}
  void Show() override {}
  void Close() override {}
};

bool IsSpaces(const unsigned char* at) {
  return at[0] == ' ' && at[1] == 0;
}

// Real Windows, watching the work buffer: at the moment it is released,
// is the whole region committed and are its first, middle and last
// characters spaces? Runs inside the measured tick.
class WatchingApi : public RealWindowsApi {
 public:
  void* VirtualAlloc(void* address, std::size_t size, ludora::DWORD type,
                     ludora::DWORD protect) override {
    buffer = RealWindowsApi::VirtualAlloc(address, size, type, protect);
    bytes = size;
    if (!buffer) error = ::GetLastError();
    return buffer;
  }
  BOOL VirtualFree(void* address, std::size_t size, ludora::DWORD type) override {
    ::MEMORY_BASIC_INFORMATION info;
    committed = ::VirtualQuery(address, &info, sizeof info) == sizeof info &&
                info.State == MEM_COMMIT && info.RegionSize >= bytes;
    const auto* text = static_cast<const unsigned char*>(address);
    const std::size_t middle = bytes / 4 * 2;
    written = IsSpaces(text) && IsSpaces(text + middle) && IsSpaces(text + bytes - 2);
    return RealWindowsApi::VirtualFree(address, size, type);
  }

  void* buffer = nullptr;
  std::size_t bytes = 0;
  ::DWORD error = 0;  // of a refused VirtualAlloc
  bool committed = false;
  bool written = false;
};

bool IsFree(const void* address) {
  ::MEMORY_BASIC_INFORMATION info;
  return ::VirtualQuery(address, &info, sizeof info) == sizeof info && info.State == MEM_FREE;
}

struct TickResult {
  double seconds = 0;
  ::DWORD error = 0;
  bool allocated = false, committed = false, written = false, released = false;
};

// The halfway tick of a fresh Form2: the 51st timer step.
TickResult TimeTick(const MEMORYSTATUS& reading) {
  WatchingApi api;
  SilentView view;
  Form2 form(api, reading);
  form.AttachView(&view);
  form.Load();
  while (form.counter() < 50) form.Timer1_Timer();
  const double start = SecondsNow();
  form.Timer1_Timer();
  TickResult result;
  result.seconds = SecondsNow() - start;
  result.allocated = api.buffer != nullptr;
  result.error = api.error;
  result.committed = api.committed;
  result.written = api.written;
  result.released = result.allocated && IsFree(api.buffer);
  return result;
}

void* Commit(std::size_t bytes) {
  return ::VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

struct FreshFill {
  double fill = -1;     // every page faulted in by the fill itself
  double release = -1;  // giving the written pages back
};

// A fill into memory committed just before and never touched, then its
// release, timed apart.
FreshFill TimeFreshFill(std::size_t bytes) {
  FreshFill result;
  void* buffer = Commit(bytes);
  if (!buffer) return result;
  double start = SecondsNow();
  FillWithSpaces(buffer, bytes);
  result.fill = SecondsNow() - start;
  start = SecondsNow();
  ::VirtualFree(buffer, 0, MEM_RELEASE);
  result.release = SecondsNow() - start;
  return result;
}

// A fill into memory that was written once already: the bare cost of the
// stores.
double TimeWarmFill(std::size_t bytes) {
  void* buffer = Commit(bytes);
  if (!buffer) return -1;
  FillWithSpaces(buffer, bytes);
  const double start = SecondsNow();
  FillWithSpaces(buffer, bytes);
  const double seconds = SecondsNow() - start;
  ::VirtualFree(buffer, 0, MEM_RELEASE);
  return seconds;
}

double Ms(double seconds) {
  return seconds * 1e3;
}

// The free ranges of the program's address space: the largest, and all together.
struct AddressSpace {
  std::size_t largestFree = 0;
  std::size_t totalFree = 0;
};

AddressSpace ReadAddressSpace() {
  ::SYSTEM_INFO system;
  ::GetSystemInfo(&system);
  AddressSpace space;
  const char* at = static_cast<const char*>(system.lpMinimumApplicationAddress);
  ::MEMORY_BASIC_INFORMATION info;
  while (at < system.lpMaximumApplicationAddress &&
         ::VirtualQuery(at, &info, sizeof info) == sizeof info) {
    if (info.State == MEM_FREE) {
      space.largestFree = std::max<std::size_t>(space.largestFree, info.RegionSize);
      space.totalFree += info.RegionSize;
    }
    at = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
  }
  return space;
}

std::size_t BufferBytes(const MEMORYSTATUS& reading) {
  const auto characters = WorkBufferCharacters(static_cast<std::int32_t>(reading.dwTotalPhys));
  return characters ? static_cast<std::size_t>(*characters) * 2 : 0;
}

double MiB(std::size_t bytes) {
  return static_cast<double>(bytes) / 1048576.0;
}

void PrintReading(const char* what, const MEMORYSTATUS& reading) {
  const std::size_t bytes = BufferBytes(reading);
  std::printf("  %s: T = %lu bytes, N = round(T/3) = %lu, 2N = %lu bytes (%.1f MiB)\n", what,
              static_cast<unsigned long>(reading.dwTotalPhys),
              static_cast<unsigned long>(bytes / 2), static_cast<unsigned long>(bytes), MiB(bytes));
}

}  // namespace

bool RunDefragBench(int repetitions, std::uint32_t totalPhysOverride) {
  RealWindowsApi real;
  MEMORYSTATUS reading;
  MemoryFigures figures;
  memorycheck(real, reading, figures);

  std::printf(
      "DEFRAGMENTER TICK: median of %d repetitions, tick / fresh fill / warm fill alternated\n",
      repetitions);
  std::printf(
      "  tick  = Form2's halfway Timer1_Timer: VirtualAlloc(MEM_COMMIT|MEM_RESERVE),\n"
      "          FillWithSpaces, VirtualFree(MEM_RELEASE)\n"
      "  fresh = FillWithSpaces into a buffer committed but never touched (page faults\n"
      "          included); the fair baseline: the tick's job is to take 2N bytes of\n"
      "          fresh memory from the machine, and each of its pages must be faulted in\n"
      "          and written once; no way of doing the tick avoids that\n"
      "  warm  = FillWithSpaces into a buffer written once before: store bandwidth only,\n"
      "          a floor no allocate-and-write of new memory can reach\n"
      "  tick / this = median of the ratios of each repetition's own measurements\n");
  PrintReading("GlobalMemoryStatus (32-bit record, as memorycheck reads it)", reading);
  const AddressSpace space = ReadAddressSpace();
  std::printf("  address space: largest free range %.1f MiB, free in all %.1f MiB\n",
              MiB(space.largestFree), MiB(space.totalFree));

  if (totalPhysOverride != 0) {
    reading.dwTotalPhys = totalPhysOverride;
    PrintReading("measured instead at", reading);
  } else {
    const TickResult first = TimeTick(reading);
    if (!first.allocated) {
      // The tick gives up when Windows refuses the buffer; measure it at
      // the largest halving of the reading for which Windows does not.
      std::printf(
          "  THE TICK TAKES NO MEMORY at this reading: VirtualAlloc of 2N bytes returns\n"
          "  NULL (error %lu; no free range that large), so the tick writes nothing "
          "(%.3f ms)\n",
          static_cast<unsigned long>(first.error), Ms(first.seconds));
      while (reading.dwTotalPhys > 1 && !TimeTick(reading).allocated) reading.dwTotalPhys /= 2;
      PrintReading("measured instead at the largest halving that allocates", reading);
    }
  }
  const std::size_t bytes = BufferBytes(reading);
  if (bytes == 0) {
    std::printf("  no work buffer for this reading: nothing to measure\n");
    return false;
  }

  Samples tick, fresh, release, warm;
  Samples perFresh, perWarm;  // tick / fill of each repetition
  bool allocated = true, committed = true, written = true, released = true, fills = true;
  for (int r = 0; r < repetitions; ++r) {
    const TickResult t = TimeTick(reading);
    tick.Add(t.seconds);
    allocated &= t.allocated;
    committed &= t.committed;
    written &= t.written;
    released &= t.released;
    const FreshFill f = TimeFreshFill(bytes);
    const double w = TimeWarmFill(bytes);
    fills &= f.fill >= 0 && w >= 0;
    fresh.Add(f.fill);
    release.Add(f.release);
    warm.Add(w);
    perFresh.Add(t.seconds / f.fill);
    perWarm.Add(t.seconds / w);
  }
  const auto yesNo = [](bool ok) { return ok ? "yes" : "NO"; };
  std::printf(
      "  checks, every repetition: buffer allocated %s; whole region MEM_COMMIT at release %s;\n"
      "  first, middle and last characters spaces %s; region MEM_FREE after the tick %s\n",
      yesNo(allocated), yesNo(committed), yesNo(written), yesNo(released));
  if (!fills) std::printf("  a baseline buffer could not be committed: its figures are void\n");

  std::printf("\n  %-6s %8s %15s %9s %14s\n", "", "ms", "(min-max)", "MiB/s", "tick / this");
  const struct {
    const char* name;
    const Samples& samples;
    double ratio;
  } rows[] = {
      {"tick", tick, 1}, {"fresh", fresh, perFresh.Median()}, {"warm", warm, perWarm.Median()}};
  for (const auto& row : rows) {
    const double m = row.samples.Median();
    std::printf("  %-6s %8.1f (%6.1f-%6.1f) %9.0f %14.2f\n", row.name, Ms(m), Ms(row.samples.Min()),
                Ms(row.samples.Max()), MiB(bytes) / m, row.ratio);
  }
  // What the tick adds to the fresh fill is mostly giving the pages back.
  std::printf(
      "  (release of the fresh buffer after its fill: %.1f ms; fresh + release = %.1f ms,\n"
      "   tick / (fresh + release) = %.2f)\n",
      Ms(release.Median()), Ms(fresh.Median() + release.Median()),
      tick.Median() / (fresh.Median() + release.Median()));
  return allocated && committed && written && released && fills;
}

}  // namespace ludora::bench
