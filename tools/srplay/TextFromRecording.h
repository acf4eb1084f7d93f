#pragma once
#include "ConversationText.h"
#include "playfile/PlaybackLoader.h"

namespace srplay {

// The conversation text of a loaded recording: every stream with the
// tables the driver built from it. Entries that never match for a reason
// the text cannot state again are left out with a remark.
ConversationText text_from_recording(const tap::RecordingLoad& recording);

}  // namespace srplay
