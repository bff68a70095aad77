// The real adapter of the socket seam: each operation forwarded to ws2_32.
// A program that resolves names on two threads gives each its own adapter.
#pragma once

#include "platform/socket_api.h"

namespace ludora {

class RealSocketApi : public SocketApi {
 public:
#define LUDORA_FORWARD_SOCKET_OPERATION(result, name, parameters, arguments) \
  result name parameters override;
  LUDORA_SOCKET_API(LUDORA_FORWARD_SOCKET_OPERATION)
#undef LUDORA_FORWARD_SOCKET_OPERATION

 private:
  HOSTENT answer_;  // gethostbyname's, valid until this adapter's next call of it
};

}  // namespace ludora
