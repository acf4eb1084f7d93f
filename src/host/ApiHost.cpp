#include "host/ApiHost.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <optional>
#include <stdexcept>

#include "host/HandleRegistry.h"
#include "playfile/PlaybackLoader.h"

namespace tap::host {
namespace {

std::optional<std::uint32_t> recorded_number(const std::string& text) {
  std::int32_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

// The driver opens the path from wherever the process stands later on.
std::string absolute(const std::string& path) {
  std::error_code ec;
  auto full = std::filesystem::absolute(path, ec);
  return ec ? path : full.lexically_normal().string();
}

}  // namespace

ApiHost::ApiHost(std::shared_ptr<SharedRegion> region, const std::string& driver_path)
    : region_(std::move(region)), driver_(driver_path) {
  if (driver_.entry_status() != VARNEL_OK)
    throw std::runtime_error("the driver's entry export returned " +
                             std::to_string(driver_.entry_status()));
}

ApiHost::~ApiHost() {
  for (auto& session : sessions_) {
    live_sessions().remove(session.get());
    driver_.close(session->handle());
  }
}

std::int32_t ApiHost::open(const std::string& recording, const ResourceAddress& address,
                           ApiSession** session) {
  *session = nullptr;
  const std::string path = absolute(recording);
  VarnelSession handle = nullptr;
  std::int32_t status = VARNEL_INTERNAL_ERROR;
  {
    std::lock_guard guard(region_->open_lock);
    ProcessRegion& region = region_->region;
    region.set_playback_path(path);
    region.set_interface(address.kind, address.resource_class);
    std::uint32_t& next = next_stream_[path];
    region.set_next_stream_index(next);
    OpenArgs args;
    args.address = address.interface_text;
    args.primary = address.primary;
    args.secondary = address.secondary;
    args.protocol = address.device_protocol;
    args.bracket = address.bracket;
    args.colon = address.colon;
    status = driver_.open(args, &handle);
    next = region.next_stream_index();
  }
  if (status != VARNEL_OK) return status;
  sessions_.push_back(std::make_unique<ApiSession>(*this, driver_, handle, last_error));
  *session = sessions_.back().get();
  live_sessions().add(*session);
  return status;
}

std::int32_t ApiHost::close(ApiSession* session) {
  live_sessions().remove(session);
  auto it = std::find_if(sessions_.begin(), sessions_.end(),
                         [&](const auto& owned) { return owned.get() == session; });
  if (it == sessions_.end()) return VARNEL_OK;
  std::int32_t status = driver_.close(session->handle());
  sessions_.erase(it);
  return status;
}

std::vector<std::string> ApiHost::resource_names(const std::string& recording) const {
  RecordingLoad load = load_recording(recording);
  if (!load.result) {
    std::string where =
        load.result.line > 0 ? " (line " + std::to_string(load.result.line) + ")" : std::string();
    throw std::runtime_error(recording + ": " + load.result.message + where);
  }
  std::vector<std::string> names;
  for (const auto& stream : load.streams) {
    auto prim = recorded_number(stream.prim);
    auto sec = recorded_number(stream.sec);
    auto devprot = recorded_number(stream.devprot);
    std::optional<ResourceAddress> address;
    if (prim && sec && devprot)
      address =
          address_for_stream(stream.intfaddr, *prim, *sec, *devprot, stream.bracket, stream.colon);
    names.push_back(address ? format_resource_name(*address) : std::string());
  }
  return names;
}

}  // namespace tap::host
