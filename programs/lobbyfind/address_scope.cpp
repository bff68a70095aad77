#include "lobbyfind/address_scope.h"

namespace ludora::lobbyfind {

namespace {

struct Block {
  DWORD base;
  int bits;  // of the prefix
  Scope scope;
};

// The IPv4 blocks that are not the Internet's: the IANA IPv4 Special-Purpose
// Address Registry (RFC 6890 and its updates) where it says "globally
// reachable: false", the multicast block (RFC 5771) and what is reserved
// with the broadcast (RFC 1112, RFC 919). 192.0.0.0/24 holds two anycast
// addresses that are reachable (PCP, TURN), and no game server.
// clang-format off
constexpr Block kBlocks[] = {
    {0x00000000,  8, Scope::None},      // 0.0.0.0/8        "this network"
    {0x0A000000,  8, Scope::Local},     // 10.0.0.0/8       private use
    {0x64400000, 10, Scope::Local},     // 100.64.0.0/10    shared address space (carrier NAT)
    {0x7F000000,  8, Scope::Loopback},  // 127.0.0.0/8      loopback
    {0xA9FE0000, 16, Scope::Local},     // 169.254.0.0/16   link local
    {0xAC100000, 12, Scope::Local},     // 172.16.0.0/12    private use
    {0xC0000000, 24, Scope::None},      // 192.0.0.0/24     IETF protocol assignments
    {0xC0000200, 24, Scope::None},      // 192.0.2.0/24     documentation (TEST-NET-1)
    {0xC0586300, 24, Scope::None},      // 192.88.99.0/24   6to4 relay anycast, deprecated
    {0xC0A80000, 16, Scope::Local},     // 192.168.0.0/16   private use
    {0xC6120000, 15, Scope::None},      // 198.18.0.0/15    benchmarking
    {0xC6336400, 24, Scope::None},      // 198.51.100.0/24  documentation (TEST-NET-2)
    {0xCB007100, 24, Scope::None},      // 203.0.113.0/24   documentation (TEST-NET-3)
    {0xE0000000,  4, Scope::None},      // 224.0.0.0/4      multicast
    {0xF0000000,  4, Scope::None},      // 240.0.0.0/4      reserved, and 255.255.255.255
};
// clang-format on

// The well-known ports (IANA's system ports) are the services a list could
// aim lobbyfind's queries at (DNS, NTP ...); no game's servers use them.
constexpr WORD kFirstListedPort = 1024;

}  // namespace

Scope ScopeOf(DWORD ip) {
  for (const Block& block : kBlocks) {
    if ((ip ^ block.base) >> (32 - block.bits) == 0) return block.scope;
  }
  return Scope::Public;
}

bool MayList(DWORD master, SocketAddress server) {
  const Scope from = ScopeOf(master) == Scope::None ? Scope::Public : ScopeOf(master);
  const Scope to = ScopeOf(server.ip);
  return server.port >= kFirstListedPort && to != Scope::None && to >= from;
}

}  // namespace ludora::lobbyfind
