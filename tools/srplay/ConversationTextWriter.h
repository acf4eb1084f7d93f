#pragma once
#include <string>

#include "ConversationText.h"

namespace srplay {

// Writes a conversation text that reads back as `conversation`, in the
// shortest form each line allows. `heading` becomes the first comment.
std::string write_conversation_text(const ConversationText& conversation,
                                    const std::string& heading = "");

}  // namespace srplay
