#pragma once
#include <cstdint>

#include "platform/com/DispatchTable.h"
#include "platform/com/ISupportErrorInfo.h"

namespace tap {

class PlaybackServerData;

// The object scripts receive as PlaybackEngine (IPlaybackEngine). It keeps
// nothing of its own: every member reads or writes the block it is pointed
// at, so one object serves every session's runs in turn. A setter used in
// the wrong context (a read result in a write script or the other way
// round) fails with E_FAIL, which ends the script at that statement.
class PlaybackServer : public com::DispatchObject<PlaybackServer>, public com::ISupportErrorInfo {
 public:
  static const com::DispatchTable<PlaybackServer>& dispatch_table();

  // Not owned; re-pointed before every run. Members that need a block fail
  // with E_POINTER while there is none.
  void set_data(PlaybackServerData* data) { data_ = data; }

  com::HRESULT InterfaceSupportsErrorInfo(const com::Guid& iid) override;

  // Sleep waits at most this long per call: a script cannot stall the
  // worker, and every session with it, beyond this by one statement.
  static constexpr std::int32_t max_sleep_ms = 60'000;

 private:
  com::HRESULT get_write_text(com::DispatchCall& call);
  com::HRESULT get_write_return_value(com::DispatchCall& call);
  com::HRESULT put_write_return_value(com::DispatchCall& call);
  com::HRESULT get_write_flags(com::DispatchCall& call);
  com::HRESULT get_write_timeout(com::DispatchCall& call);
  com::HRESULT get_write_actual_written(com::DispatchCall& call);
  com::HRESULT put_write_actual_written(com::DispatchCall& call);
  com::HRESULT get_read_stop_reason(com::DispatchCall& call);
  com::HRESULT put_read_stop_reason(com::DispatchCall& call);
  com::HRESULT get_read_return_value(com::DispatchCall& call);
  com::HRESULT put_read_return_value(com::DispatchCall& call);
  com::HRESULT get_read_text(com::DispatchCall& call);
  com::HRESULT put_read_text(com::DispatchCall& call);
  com::HRESULT get_read_flags(com::DispatchCall& call);
  com::HRESULT get_read_timeout(com::DispatchCall& call);
  com::HRESULT get_read_term_char(com::DispatchCall& call);
  com::HRESULT query_user_value(com::DispatchCall& call);
  com::HRESULT get_display_errors(com::DispatchCall& call);
  com::HRESULT put_display_errors(com::DispatchCall& call);
  com::HRESULT sleep(com::DispatchCall& call);
  com::HRESULT user_message(com::DispatchCall& call);
  com::HRESULT get_read_buffer_length(com::DispatchCall& call);
  com::HRESULT store_value(com::DispatchCall& call);
  com::HRESULT get_value(com::DispatchCall& call);
  com::HRESULT get_write_regexp_matches(com::DispatchCall& call);
  com::HRESULT reset_values(com::DispatchCall& call);

  // Reads a 32-bit field of the block as a long.
  com::HRESULT get_long(com::DispatchCall& call, std::int32_t PlaybackServerData::*field);
  // Stores the assigned long when the block is in the wanted context.
  com::HRESULT put_long(com::DispatchCall& call, std::int32_t PlaybackServerData::*field, bool in_read_context);

  PlaybackServerData* data_ = nullptr;
};

}  // namespace tap
