#include "scripting/PlaybackServer.h"

#include "platform/os/code_page.h"
#include "scripting/PlaybackServerData.h"

namespace tap {

const com::DispatchTable<PlaybackServer>& PlaybackServer::dispatch_table() {
  using namespace com;
  static const DispatchTable<PlaybackServer> table(u"IPlaybackEngine", {
      {u"WriteReturnValue", 2, DISPATCH_PROPERTYPUT, &PlaybackServer::put_write_return_value, {VT_I4}},
      {u"ReadText", 8, DISPATCH_PROPERTYPUT, &PlaybackServer::put_read_text, {VT_BSTR}},
  });
  return table;
}

com::HRESULT PlaybackServer::put_read_text(com::DispatchCall& call) {
  if (!data_ || !data_->read_context) return com::E_FAIL;
  data_->ReadText = os::wide_to_ansi(call.args[0].bstr().view());
  return com::S_OK;
}

com::HRESULT PlaybackServer::put_write_return_value(com::DispatchCall& call) {
  if (!data_ || data_->read_context) return com::E_FAIL;
  data_->WriteReturnValue = call.args[0].i4();
  return com::S_OK;
}

}  // namespace tap
