#pragma once
#include <vector>

#include "platform/xml/XmlDocument.h"
#include "playfile/RecordingWarning.h"

namespace tap {

// What only the document shows, below `element` (itself included): a
// dt:dt that makes a bin.hex value mean other bytes, and elements named
// like the file's own but outside its namespace, which the schema lets
// through and the driver never reads. `skip_streams` leaves out the
// IORecordStream children, which are walked each on its own.
void document_warnings(const xml::Element& element, bool skip_streams,
                       std::vector<RecordingWarning>& out);

}  // namespace tap
