#include "scripting/PlaybackServer.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "diag/resource_string.h"
#include "platform/os/code_page.h"
#include "platform/os/sleep.h"
#include "platform/ui/MessageBox.h"
#include "scripting/HelperThread.h"
#include "scripting/PlaybackEngineLib.h"
#include "scripting/PlaybackServerData.h"
#include "scripting/StringCollection.h"
#include "vbscript/vm/RunLimits.h"

namespace tap {

using com::DispatchCall;
using com::HRESULT;
using com::Variant;

const com::DispatchTable<PlaybackServer>& PlaybackServer::dispatch_table() {
  using namespace com;
  constexpr InvokeFlags get = DISPATCH_PROPERTYGET, put = DISPATCH_PROPERTYPUT, method = DISPATCH_METHOD;
  using S = PlaybackServer;
  static const DispatchTable<PlaybackServer> table(u"IPlaybackEngine", {
      {u"WriteText", 1, get, &S::get_write_text},
      {u"WriteReturnValue", 2, get, &S::get_write_return_value},
      {u"WriteReturnValue", 2, put, &S::put_write_return_value, {VT_I4}},
      {u"WriteFlags", 3, get, &S::get_write_flags},
      {u"WriteTimeout", 4, get, &S::get_write_timeout},
      {u"WriteActualWritten", 5, get, &S::get_write_actual_written},
      {u"WriteActualWritten", 5, put, &S::put_write_actual_written, {VT_I4}},
      {u"ReadStopReason", 6, get, &S::get_read_stop_reason},
      {u"ReadStopReason", 6, put, &S::put_read_stop_reason, {VT_I4}},
      {u"ReadReturnValue", 7, get, &S::get_read_return_value},
      {u"ReadReturnValue", 7, put, &S::put_read_return_value, {VT_I4}},
      {u"ReadText", 8, get, &S::get_read_text},
      {u"ReadText", 8, put, &S::put_read_text, {VT_BSTR}},
      {u"ReadFlags", 9, get, &S::get_read_flags},
      {u"ReadTimeout", 10, get, &S::get_read_timeout},
      {u"ReadTermChar", 11, get, &S::get_read_term_char},
      {u"QueryUserValue", 12, method, &S::query_user_value, {VT_BSTR}},
      {u"DisplayErrors", 13, get, &S::get_display_errors},
      {u"DisplayErrors", 13, put, &S::put_display_errors, {VT_BOOL}},
      {u"Sleep", 14, method, &S::sleep, {VT_I4}},
      {u"UserMessage", 15, method, &S::user_message, {VT_BSTR}},
      {u"ReadBufferLength", 16, get, &S::get_read_buffer_length},
      {u"StoreValue", 17, method, &S::store_value, {VT_VARIANT, VT_VARIANT}},
      {u"GetValue", 18, method, &S::get_value, {VT_VARIANT}},
      {u"WriteRegExpMatches", 19, get, &S::get_write_regexp_matches},
      {u"ResetValues", 20, method, &S::reset_values, {VT_BOOL}},
  });
  return table;
}

namespace {

// The field's bytes and the zero byte that ends them, so the text a script
// sees carries one zero character after the converted ones.
Variant text_with_terminator(const std::string& bytes) {
  std::u16string wide = os::ansi_to_wide(std::string_view(bytes.c_str(), bytes.size() + 1));
  return Variant(wide.empty() ? com::BStr() : com::BStr(std::move(wide)));
}

}  // namespace

HRESULT PlaybackServer::InterfaceSupportsErrorInfo(const com::Guid& iid) {
  return iid == IID_IPlaybackEngine ? com::S_OK : com::S_FALSE;
}

HRESULT PlaybackServer::get_long(DispatchCall& call, std::int32_t PlaybackServerData::*field) {
  if (!data_) return com::E_POINTER;
  call.result = Variant(data_->*field);
  return com::S_OK;
}

HRESULT PlaybackServer::put_long(DispatchCall& call, std::int32_t PlaybackServerData::*field, bool in_read_context) {
  if (!data_) return com::E_POINTER;
  if (data_->read_context != in_read_context) return com::E_FAIL;
  data_->*field = call.args.back().i4();
  return com::S_OK;
}

HRESULT PlaybackServer::get_write_text(DispatchCall& call) {
  if (!data_) return com::E_POINTER;
  call.result = text_with_terminator(data_->WriteText);
  return com::S_OK;
}

HRESULT PlaybackServer::get_write_return_value(DispatchCall& call) {
  return get_long(call, &PlaybackServerData::WriteReturnValue);
}

HRESULT PlaybackServer::put_write_return_value(DispatchCall& call) {
  return put_long(call, &PlaybackServerData::WriteReturnValue, false);
}

HRESULT PlaybackServer::get_write_flags(DispatchCall& call) { return get_long(call, &PlaybackServerData::WriteFlags); }

HRESULT PlaybackServer::get_write_timeout(DispatchCall& call) {
  return get_long(call, &PlaybackServerData::WriteTimeout);
}

HRESULT PlaybackServer::get_write_actual_written(DispatchCall& call) {
  return get_long(call, &PlaybackServerData::WriteActualWritten);
}

HRESULT PlaybackServer::put_write_actual_written(DispatchCall& call) {
  return put_long(call, &PlaybackServerData::WriteActualWritten, false);
}

HRESULT PlaybackServer::get_read_stop_reason(DispatchCall& call) {
  return get_long(call, &PlaybackServerData::ReadStopReason);
}

HRESULT PlaybackServer::put_read_stop_reason(DispatchCall& call) {
  return put_long(call, &PlaybackServerData::ReadStopReason, true);
}

HRESULT PlaybackServer::get_read_return_value(DispatchCall& call) {
  return get_long(call, &PlaybackServerData::ReadReturnValue);
}

HRESULT PlaybackServer::put_read_return_value(DispatchCall& call) {
  return put_long(call, &PlaybackServerData::ReadReturnValue, true);
}

HRESULT PlaybackServer::get_read_text(DispatchCall& call) {
  if (!data_) return com::E_POINTER;
  call.result = text_with_terminator(data_->ReadText);
  return com::S_OK;
}

// By exact length: zero characters inside the text become zero bytes.
HRESULT PlaybackServer::put_read_text(DispatchCall& call) {
  if (!data_) return com::E_POINTER;
  if (!data_->read_context) return com::E_FAIL;
  data_->ReadText = os::wide_to_ansi(call.args.back().bstr().view());
  return com::S_OK;
}

HRESULT PlaybackServer::get_read_flags(DispatchCall& call) { return get_long(call, &PlaybackServerData::ReadFlags); }

HRESULT PlaybackServer::get_read_timeout(DispatchCall& call) {
  return get_long(call, &PlaybackServerData::ReadTimeout);
}

HRESULT PlaybackServer::get_read_term_char(DispatchCall& call) {
  if (!data_) return com::E_POINTER;
  call.result = Variant(data_->ReadTermChar);
  return com::S_OK;
}

// No value is ever asked for: the script gets Empty.
HRESULT PlaybackServer::query_user_value(DispatchCall&) { return com::S_OK; }

HRESULT PlaybackServer::get_display_errors(DispatchCall& call) {
  call.result = Variant(HelperThread::DisplayErrors());
  return com::S_OK;
}

// A boolean argument arrives converted, so true here is exactly -1.
HRESULT PlaybackServer::put_display_errors(DispatchCall& call) {
  HelperThread::SetDisplayErrors(call.args.back().boolean());
  return com::S_OK;
}

// Scripted answers are not held by the emulated wait, so this is how a
// script makes its answer take time; it really sleeps, within bounds.
// A sleep that would pass the script's deadline ends there, and the
// script with it.
HRESULT PlaybackServer::sleep(DispatchCall& call) {
  std::int32_t ms = std::clamp(call.args[0].i4(), 0, max_sleep_ms);
  vbs::RunLimits* limits = vbs::RunLimits::active();
  const std::int64_t left = limits ? limits->remaining_ms() : -1;
  const bool past_deadline = left >= 0 && left <= ms;
  if (past_deadline) ms = static_cast<std::int32_t>(left);
  os::sleep_ms(static_cast<std::uint32_t>(ms));
  if (past_deadline) limits->check();
  return com::S_OK;
}

// The box shows the text as the ANSI code page has it, up to its first
// zero character, under the driver's own caption.
HRESULT PlaybackServer::user_message(DispatchCall& call) {
  const std::string text = os::wide_to_ansi(call.args[0].bstr().view());
  resource_string caption(msg_dialog_caption);
  const char* title = caption.ansi();
  ui::message_box(title ? os::ansi_to_wide(title) : std::u16string(), os::ansi_to_wide(text.c_str()), 0);
  return com::S_OK;
}

HRESULT PlaybackServer::get_read_buffer_length(DispatchCall& call) {
  return get_long(call, &PlaybackServerData::ReadBufferLength);
}

HRESULT PlaybackServer::store_value(DispatchCall& call) {
  if (!data_) return com::E_POINTER;
  return data_->values.Store(call.args[0], call.args[1]);
}

HRESULT PlaybackServer::get_value(DispatchCall& call) {
  if (!data_) return com::E_POINTER;
  return data_->values.Get(call.args[0], &call.result);
}

HRESULT PlaybackServer::get_write_regexp_matches(DispatchCall& call) {
  call.result = Variant(com::Ref<com::IDispatch>());
  if (!data_) return com::E_POINTER;
  if (data_->read_context) return com::E_FAIL;
  com::Ref<StringCollection> matches = com::make_ref<StringCollection>();
  matches->Fill(data_->captures);
  call.result = Variant(com::Ref<com::IDispatch>(matches));
  return com::S_OK;
}

HRESULT PlaybackServer::reset_values(DispatchCall& call) {
  if (!data_) return com::E_POINTER;
  data_->values.Reset(call.args[0].boolean());
  return com::S_OK;
}

}  // namespace tap
