// The real adapter: each operation of the seam forwarded to Windows.
#pragma once

#include "platform/windows_api.h"

namespace ludora {

class RealWindowsApi : public WindowsApi {
 public:
#define LUDORA_FORWARD_OPERATION(result, name, parameters, arguments) \
  result name parameters override;
  LUDORA_WINDOWS_API(LUDORA_FORWARD_OPERATION)
#undef LUDORA_FORWARD_OPERATION
};

}  // namespace ludora
