// For the end-to-end tests: the state the shooter's recorded run reaches
// after that many ticks, as the portable code works it out on this machine,
// to hold the Windows build's --bench to.
#include <cstdio>
#include <cstdlib>

#include "pno0001/replay.h"
#include "pno0001/session.h"

int main(int argc, char** argv) {
  using namespace ludora::pno0001;
  const int ticks = argc > 1 ? std::atoi(argv[1]) : 0;
  Session session(0);
  session.NewGame();
  Replay run = BenchRun();
  for (int i = 0; i < ticks; ++i) session.Tick(run.Next());
  std::printf("%08x\n", static_cast<unsigned>(session.world().Fingerprint()));
}
