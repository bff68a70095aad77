// Where an IPv4 address leads, and so which addresses a master may have
// lobbyfind query: a master on the Internet names servers on the Internet
// only; this machine's and the local network's are for the LAN view, or
// for a master that is itself there.
#pragma once

#include "platform/socket_api.h"

namespace ludora::lobbyfind {

// Nearest first: this machine, then the local network, then the Internet.
// None: no host of its own (this network, documentation and benchmarking
// blocks, multicast, reserved, the broadcast).
enum class Scope { Loopback, Local, Public, None };

Scope ScopeOf(DWORD ip);

// Whether the master at `master` may have `server` queried: a unicast
// address of a port above the well-known ones, no nearer than the master.
// A master on this machine may list this machine's servers, one on the
// local network the network's, one on the Internet only the Internet's.
bool MayList(DWORD master, SocketAddress server);

}  // namespace ludora::lobbyfind
