// Lines as the message view shows them, and as RTF for its rich edit
// control: the time in grey, the speaker in a colour of their own, the text
// in its mIRC formatting (or without it), a line that names the user on a
// light background. The NT family's control takes the text as Unicode
// escapes; 98's in the ANSI code page, as its windows hold text.
#pragma once

#include <string>
#include <vector>

#include "chitter/conversation.h"
#include "chitter/formatting.h"
#include "chitter/text.h"

namespace ludora::chitter {

// The runs of a line as shown: "[hh:mm] ", the speaker, the text.
std::vector<Run> ShownRuns(const Line& line, bool colours);

struct RichBatch {
  std::string rtf;
  // Each line's length in the control's characters, its paragraph mark
  // included, in order: what a view removes when the line goes.
  std::vector<std::size_t> lengths;
};

// `afterText`: the control holds lines already, so the batch starts a new
// paragraph. `unicode`: the NT family's control.
RichBatch RichText(const std::vector<const Line*>& lines, bool afterText, bool colours,
                   bool unicode, const CodePage& ansi);

}  // namespace ludora::chitter
