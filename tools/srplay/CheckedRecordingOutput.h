#pragma once
#include <functional>
#include <string>

#include "RecordingXmlWriter.h"
#include "playfile/PlaybackLoader.h"

namespace srplay {

// Writes a generated recording only if the driver's own loader takes it:
// the text goes to a temporary file beside OUTPUT, `report` tells what the
// loader found and answers whether the file may stand, and one rename makes
// it OUTPUT (standard output when OUTPUT is empty), so a refused or broken
// result never replaces a good file. Returns the exit status: 0 written,
// 1 refused, 2 a file that could not be written.
int write_checked_recording(const RecordingXml& xml, const std::string& output,
                            const std::function<bool(const tap::RecordingLoad&)>& report);

}  // namespace srplay
