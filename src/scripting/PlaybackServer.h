#pragma once
// Placeholder until the full scripting object lands.
#include "platform/com/DispatchTable.h"

namespace tap {

class PlaybackServerData;

class PlaybackServer : public com::DispatchObject<PlaybackServer> {
 public:
  static const com::DispatchTable<PlaybackServer>& dispatch_table();
  void set_data(PlaybackServerData* data) { data_ = data; }

 private:
  com::HRESULT put_read_text(com::DispatchCall& call);
  com::HRESULT put_write_return_value(com::DispatchCall& call);
  PlaybackServerData* data_ = nullptr;
};

}  // namespace tap
