#pragma once
#include <string_view>

#include "ConversationText.h"
#include "TextLine.h"

namespace srplay {

// Reads a conversation text (docs/conversation-text.md). A text that is
// not one raises text_error with the line at fault.
ConversationText parse_conversation_text(std::string_view text);

}  // namespace srplay
