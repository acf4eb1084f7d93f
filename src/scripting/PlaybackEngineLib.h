#pragma once
// Identity of the scripting objects' type library. The identifiers were
// assigned once and must never change: registered type information refers
// to them. Scripts bind by name and never see them.
#include "platform/com/Guid.h"

namespace tap {

inline constexpr com::Guid LIBID_PlaybackEngineLib = com::Guid::parse("{9034C907-CAB7-4D8B-9D01-5AD9A5A61994}");
inline constexpr com::Guid IID_IPlaybackEngine = com::Guid::parse("{33E21337-3A3B-453D-AD93-C2CEB2A7AACA}");
inline constexpr com::Guid IID__IStringCollection = com::Guid::parse("{53D1F370-5339-41FC-A4B8-8FA31BFA733E}");

}  // namespace tap
