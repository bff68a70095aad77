#include "platform/resume_next.h"

#include <exception>

namespace ludora {

std::string CurrentExceptionText() {
  try {
    throw;
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "an exception of unknown type";
  }
}

namespace {

std::string SkippedLine(Where where) {
  const std::string what = CurrentExceptionText();
  std::string line = "Ludora: " + std::string(where.handler);
  if (where.step > 0) line += " step " + std::to_string(where.step);
  return line + " skipped: " + what + "\n";
}

}  // namespace

void ReportSkipped(WindowsApi& api, Where where) noexcept {
  try {
    api.OutputDebugStringA(SkippedLine(where));
  } catch (...) {  // out of memory for the line itself: nothing to tell
  }
}

}  // namespace ludora
