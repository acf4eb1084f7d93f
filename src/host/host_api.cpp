// The C boundary of libtaphost.so: handles are checked against the ones
// given out, and every failure becomes a status and a last-error text.
#include <algorithm>
#include <cstring>
#include <exception>
#include <stdexcept>
#include <string>

#include "host/ApiHost.h"
#include "host/HandleRegistry.h"
#include "platform/os/DynamicLibrary.h"
#include "taplayback/host.h"

#ifndef TAP_DRIVER_FILE_NAME
#define TAP_DRIVER_FILE_NAME "libtaplayback.so"
#endif

namespace {

using tap::host::ApiHost;
using tap::host::ApiSession;

// A plain array: a thread-local object with a destructor is not safe at
// thread exit under every Windows toolchain, and a host's threads come and go.
thread_local char create_error[1024];

// The driver installed or built beside this library, named by its path so
// that no loader's search order decides which one is found.
std::string default_driver_path() {
  return tap::os::DynamicLibrary::module_dir(reinterpret_cast<const void*>(&taphost_create)) + "/" +
         TAP_DRIVER_FILE_NAME;
}

ApiHost* host_of(const taphost* h) {
  return tap::host::live_hosts().contains(h) ? reinterpret_cast<ApiHost*>(const_cast<taphost*>(h))
                                             : nullptr;
}

ApiSession* session_of(taphost_session* s) {
  return tap::host::live_sessions().contains(s) ? reinterpret_cast<ApiSession*>(s) : nullptr;
}

// Runs body, turning exceptions into statuses with their text; a driver's
// non-zero status gets a text too, so the last error always fits the call.
template <typename Body>
std::int32_t guarded(std::string& last_error, const char* call, Body&& body) noexcept {
  try {
    if (!last_error.empty()) last_error.clear();
    std::int32_t status = body();
    if (status > 0 && last_error.empty())
      last_error = std::string(call) + ": the driver returned " + std::to_string(status);
    return status;
  } catch (const std::length_error& e) {
    last_error = std::string(call) + ": " + e.what();
    return TAPHOST_E_BAD_ARGUMENT;
  } catch (const std::exception& e) {
    last_error = std::string(call) + ": " + e.what();
    return TAPHOST_E_FAILED;
  } catch (...) {
    last_error = std::string(call) + ": unknown failure";
    return TAPHOST_E_FAILED;
  }
}

std::int32_t refuse(std::string& last_error, std::int32_t status, std::string text) {
  last_error = std::move(text);
  return status;
}

const char* or_empty(const char* text) { return text ? text : ""; }

}  // namespace

extern "C" {

TAPHOST_API int32_t taphost_create(const char* driver_path, taphost** host, char* error,
                                   size_t error_size) {
  auto report = [&](std::int32_t status, const std::string& text) noexcept {
    const std::size_t kept = std::min(text.size(), sizeof create_error - 1);
    std::memcpy(create_error, text.data(), kept);
    create_error[kept] = '\0';
    if (error && error_size > 0) {
      std::size_t n = std::min(text.size(), error_size - 1);
      std::memcpy(error, text.data(), n);
      error[n] = '\0';
    }
    return status;
  };
  if (!host) return report(TAPHOST_E_NULL_ARGUMENT, "taphost_create: no place for the host");
  *host = nullptr;
  std::shared_ptr<tap::host::SharedRegion> region;
  try {
    region = tap::host::shared_process_region();
  } catch (const std::exception& e) {
    return report(TAPHOST_E_REGION, std::string("taphost_create: ") + e.what());
  } catch (...) {
    return report(TAPHOST_E_REGION, "taphost_create: the region cannot be created");
  }
  try {
    auto* created =
        new ApiHost(std::move(region), driver_path ? std::string(driver_path) : default_driver_path());
    tap::host::live_hosts().add(created);
    *host = reinterpret_cast<taphost*>(created);
    return report(0, "");
  } catch (const std::exception& e) {
    return report(TAPHOST_E_DRIVER, std::string("taphost_create: ") + e.what());
  } catch (...) {
    return report(TAPHOST_E_DRIVER, "taphost_create: unknown failure");
  }
}

TAPHOST_API void taphost_free(taphost* host) {
  ApiHost* h = host_of(host);
  if (!h) return;
  tap::host::live_hosts().remove(h);
  try {
    delete h;
  } catch (...) {
  }
}

TAPHOST_API const char* taphost_last_error(const taphost* host) {
  if (!host) return create_error;
  ApiHost* h = host_of(host);
  return h ? h->last_error.c_str() : "not a host of this library";
}

static int32_t open_address(taphost* host, const char* recording,
                            const tap::host::ResourceAddress& address, taphost_session** session) {
  ApiHost* h = host_of(host);
  if (!h) return host ? TAPHOST_E_BAD_HANDLE : TAPHOST_E_NULL_ARGUMENT;
  if (!session || !recording)
    return refuse(h->last_error, TAPHOST_E_NULL_ARGUMENT, "open: null recording or session place");
  *session = nullptr;
  return guarded(h->last_error, "open", [&] {
    ApiSession* opened = nullptr;
    std::int32_t status = h->open(recording, address, &opened);
    *session = reinterpret_cast<taphost_session*>(opened);
    return status;
  });
}

TAPHOST_API int32_t taphost_open(taphost* host, const char* recording, const char* kind,
                                 const char* resource_class, const char* address, uint32_t primary,
                                 uint32_t secondary, uint32_t protocol, const char* bracket,
                                 const char* colon, taphost_session** session) {
  tap::host::ResourceAddress a;
  a.kind = or_empty(kind);
  a.resource_class = or_empty(resource_class);
  a.interface_text = or_empty(address);
  a.primary = primary;
  a.secondary = secondary;
  a.device_protocol = protocol;
  a.bracket = or_empty(bracket);
  a.colon = or_empty(colon);
  return open_address(host, recording, a, session);
}

TAPHOST_API int32_t taphost_open_resource(taphost* host, const char* recording,
                                          const char* resource_name, taphost_session** session) {
  ApiHost* h = host_of(host);
  if (!h) return host ? TAPHOST_E_BAD_HANDLE : TAPHOST_E_NULL_ARGUMENT;
  if (session) *session = nullptr;
  if (!resource_name)
    return refuse(h->last_error, TAPHOST_E_NULL_ARGUMENT, "open: null resource name");
  std::string error;
  auto address = tap::host::parse_resource_name(resource_name, &error);
  if (!address) return refuse(h->last_error, TAPHOST_E_BAD_ARGUMENT, "open: " + error);
  return open_address(host, recording, *address, session);
}

TAPHOST_API int32_t taphost_close(taphost_session* session) {
  if (!session) return 0;
  ApiSession* s = session_of(session);
  if (!s) return TAPHOST_E_BAD_HANDLE;
  ApiHost& owner = s->owner();
  return guarded(owner.last_error, "close", [&] { return owner.close(s); });
}

TAPHOST_API int32_t taphost_set_timeout(taphost_session* session, int32_t timeout_ms) {
  ApiSession* s = session_of(session);
  if (!s) return session ? TAPHOST_E_BAD_HANDLE : TAPHOST_E_NULL_ARGUMENT;
  s->timeout = timeout_ms;
  return 0;
}

TAPHOST_API int32_t taphost_set_flags(taphost_session* session, uint32_t write_flags,
                                      uint32_t read_flags) {
  ApiSession* s = session_of(session);
  if (!s) return session ? TAPHOST_E_BAD_HANDLE : TAPHOST_E_NULL_ARGUMENT;
  s->write_flags = write_flags;
  s->read_flags = read_flags;
  return 0;
}

TAPHOST_API int32_t taphost_set_termination(taphost_session* session, uint8_t termination) {
  ApiSession* s = session_of(session);
  if (!s) return session ? TAPHOST_E_BAD_HANDLE : TAPHOST_E_NULL_ARGUMENT;
  s->termination = termination;
  return 0;
}

TAPHOST_API int32_t taphost_write(taphost_session* session, const uint8_t* bytes, uint32_t count,
                                  uint32_t* actual) {
  ApiSession* s = session_of(session);
  if (!s) return session ? TAPHOST_E_BAD_HANDLE : TAPHOST_E_NULL_ARGUMENT;
  if (!bytes && count > 0)
    return refuse(s->last_error, TAPHOST_E_NULL_ARGUMENT, "write: null bytes with a count");
  static const std::uint8_t nothing = 0;
  return guarded(s->last_error, "write", [&] {
    std::uint32_t written = 0;
    std::int32_t status = s->write(bytes ? bytes : &nothing, count, &written);
    if (actual) *actual = written;
    return status;
  });
}

TAPHOST_API int32_t taphost_read(taphost_session* session, uint8_t* buffer, uint32_t count,
                                 uint32_t* actual, int32_t* stop_reason) {
  ApiSession* s = session_of(session);
  if (!s) return session ? TAPHOST_E_BAD_HANDLE : TAPHOST_E_NULL_ARGUMENT;
  if (!buffer && count > 0)
    return refuse(s->last_error, TAPHOST_E_NULL_ARGUMENT, "read: null buffer with a count");
  std::uint8_t none = 0;
  return guarded(s->last_error, "read", [&] {
    std::uint32_t got = 0;
    std::int32_t reason = 0;
    std::int32_t status = s->read(buffer ? buffer : &none, count, &got, &reason);
    if (actual) *actual = got;
    if (stop_reason) *stop_reason = reason;
    return status;
  });
}

TAPHOST_API int32_t taphost_docommand(taphost_session* session, uint32_t flags, uint32_t command,
                                      int32_t size, uint8_t* data) {
  ApiSession* s = session_of(session);
  if (!s) return session ? TAPHOST_E_BAD_HANDLE : TAPHOST_E_NULL_ARGUMENT;
  if (size < 0 || (!data && size > 0))
    return refuse(s->last_error, TAPHOST_E_NULL_ARGUMENT, "DoCommand: no data block for the size");
  std::uint8_t none = 0;
  return guarded(s->last_error, "DoCommand",
                 [&] { return s->docommand(flags, command, size, data ? data : &none); });
}

TAPHOST_API int32_t taphost_list_resources(taphost* host, const char* recording, char* names,
                                           size_t size, size_t* needed) {
  ApiHost* h = host_of(host);
  if (!h) return host ? TAPHOST_E_BAD_HANDLE : TAPHOST_E_NULL_ARGUMENT;
  if (!recording || (!names && size > 0))
    return refuse(h->last_error, TAPHOST_E_NULL_ARGUMENT, "list: null recording or buffer");
  return guarded(h->last_error, "list", [&]() -> std::int32_t {
    std::string joined;
    try {
      for (const auto& name : h->resource_names(recording)) joined += name + "\n";
    } catch (const std::runtime_error& e) {
      h->last_error = std::string("list: ") + e.what();
      return VARNEL_BAD_PLAYBACK_FILE;
    }
    if (!joined.empty()) joined.pop_back();
    if (needed) *needed = joined.size();
    if (size > 0) {
      std::size_t n = std::min(joined.size(), size - 1);
      std::memcpy(names, joined.data(), n);
      names[n] = '\0';
    }
    return 0;
  });
}

}  // extern "C"
