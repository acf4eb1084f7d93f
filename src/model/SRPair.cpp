#include "model/SRPair.h"

namespace tap {

SRPair::SRPair(const SRPair& other)
    : stimulus_(other.stimulus_ ? other.stimulus_->Clone() : nullptr),
      responses_(other.responses_),
      version_(other.version_),
      name_(other.name_),
      unusable_(other.unusable_),
      lastWrite_(other.lastWrite_),
      currentResponse_(other.currentResponse_) {}

SRPair& SRPair::operator=(const SRPair& other) {
  if (this != &other) *this = SRPair(other);
  return *this;
}

bool SRPair::Matches(ScriptSession* session, const std::uint8_t* bytes, std::uint32_t count,
                     std::uint32_t flags) const {
  if (unusable_ || !stimulus_) return false;
  std::string_view written(reinterpret_cast<const char*>(bytes), bytes ? count : 0);
  return stimulus_->Matches(session, written, flags);
}

std::int32_t SRPair::Execute(ScriptSession* session, const std::uint8_t* bytes,
                             std::uint32_t count, std::uint32_t flags, std::int32_t timeout,
                             std::int32_t& wait, std::uint32_t& actual) {
  std::string_view written(reinterpret_cast<const char*>(bytes), bytes ? count : 0);
  lastWrite_.bytes.assign(written);
  std::int32_t result = stimulus_->Execute(session, written, flags, timeout, wait, actual);
  lastWrite_.actualWritten = actual;
  lastWrite_.waitTime = wait;
  lastWrite_.returnValue = result;
  lastWrite_.flags = flags;
  return result;
}

void SRPair::AdvanceResponse() {
  if (responses_.empty()) return;
  if (currentResponse_ >= 0) responses_[currentResponse_].Reset();
  currentResponse_ = static_cast<std::int32_t>((currentResponse_ + 1) % static_cast<std::int64_t>(responses_.size()));
}

bool SRPair::HasPendingResponse() const {
  return !responses_.empty() && currentResponse_ >= 0 && !responses_[currentResponse_].exhausted();
}

std::int32_t SRPair::CurrentResponseType() const { return CurrentResponse().responseKind(); }

std::int32_t SRPair::CurrentScriptTimeout() const { return CurrentResponse().scriptTimeout(); }

std::string SRPair::TakeCurrentScript() {
  Response& r = responses_[currentResponse_];
  r.set_exhausted();
  return r.script();
}

SRPair::Response::Piece SRPair::ReadCurrentResponse(std::int32_t count) {
  return responses_[currentResponse_].ReadPiece(count);
}

void SRPair::SetCurrentScriptResult(std::string remainder, std::int32_t stopReason,
                                    std::int32_t returnValue) {
  responses_[currentResponse_].SetScriptResult(std::move(remainder), stopReason, returnValue);
}

}  // namespace tap
