// The C++ runtime's default end for an exception nobody catches writes the
// exception's type to the console first, and brings the runtime's name
// demangler, some 46 KB, into every program that may throw. Nothing escapes
// the programs' boundaries, and a window program has no console to write
// to: this end is the default's without the message.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
  std::abort();
}

}  // namespace __gnu_cxx
