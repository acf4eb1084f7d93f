#include "model/SRPair.h"

namespace tap {

using Response = SRPair::Response;

Response Response::exact(std::string responseType, std::int32_t waitTime,
                         std::int32_t returnValue, std::int32_t stopReason, std::string bytes) {
  Response r;
  r.responseType_ = std::move(responseType);
  r.waitTime_ = waitTime;
  r.returnValue_ = returnValue;
  r.stopReason_ = stopReason;
  r.bytes_ = std::move(bytes);
  r.responseKind_ = kExactString;
  return r;
}

Response Response::scripted(std::string responseType, std::string script,
                            std::int32_t scriptTimeout) {
  Response r;
  r.responseType_ = std::move(responseType);
  r.script_ = std::move(script);
  r.scriptTimeout_ = scriptTimeout;
  r.responseKind_ = kScriptPending;
  return r;
}

Response Response::unknown(std::string responseType) {
  Response r;
  r.responseType_ = std::move(responseType);
  return r;
}

Response::Piece Response::ReadPiece(std::int32_t count) {
  const auto length = static_cast<std::int32_t>(bytes_.size());
  const std::int32_t remaining = length - position_;
  Piece piece;
  piece.begin = static_cast<std::uint32_t>(position_);
  piece.returnValue = returnValue_;
  // The share of the wait is computed wide so that a long response with a
  // long wait cannot overflow; the result never exceeds waitTime.
  auto share = [&](std::int32_t n) {
    return length == 0 ? 0 : static_cast<std::int32_t>(std::int64_t{waitTime_} * n / length);
  };
  if (remaining > count) {
    piece.count = static_cast<std::uint32_t>(count);
    piece.stopReason = 1;
    piece.wait = share(count);
    position_ += count;
  } else {
    piece.count = static_cast<std::uint32_t>(remaining);
    piece.stopReason = stopReason_;
    piece.wait = share(remaining);
    position_ = length;
    exhausted_ = true;
  }
  return piece;
}

void Response::Reset() {
  position_ = 0;
  exhausted_ = false;
  if (responseKind_ == kScriptResult) {
    bytes_.clear();
    responseKind_ = kScriptPending;
  }
}

void Response::SetScriptResult(std::string remainder, std::int32_t stopReason,
                               std::int32_t returnValue) {
  bytes_ = std::move(remainder);
  position_ = 0;
  stopReason_ = stopReason;
  returnValue_ = returnValue;
  waitTime_ = 0;
  exhausted_ = false;
  responseKind_ = kScriptResult;
}

}  // namespace tap
