#include "chitter/line_reader.h"

#include "chitter/text.h"

namespace ludora::chitter {

void LineReader::Reset() {
  partial_.clear();
  cut_ = false;
}

const std::string& LineReader::Finish() {
  finished_.swap(partial_);
  partial_.clear();
  if (finished_.size() == kMaxLine && IsUtf8(finished_.substr(0, kMaxLine - 4)))
    finished_.resize(finished_.size() - CutSequenceAtEnd(finished_));
  return finished_;
}

}  // namespace ludora::chitter
