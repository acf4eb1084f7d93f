#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/Stimulus.h"

namespace tap {

// One recorded write (the stimulus) with the reads that answered it. Held
// by value in the session's list; copies clone the stimulus.
class SRPair {
 public:
  // One recorded read, delivered piece by piece as the caller's buffer
  // allows, or a script that produces the bytes to read.
  class Response {
   public:
    enum Kind : std::int32_t { kNone = 0, kExactString = 1, kScriptPending = 2, kScriptResult = 3 };

    // What one read takes from the response: bytes [begin, begin+count).
    struct Piece {
      std::uint32_t begin = 0;
      std::uint32_t count = 0;
      std::int32_t stopReason = 0;
      std::int32_t returnValue = 0;
      std::int32_t wait = 0;
    };

    Response() = default;
    virtual ~Response() = default;
    Response(const Response&) = default;
    Response& operator=(const Response&) = default;
    Response(Response&&) = default;
    Response& operator=(Response&&) = default;

    static Response exact(std::string responseType, std::int32_t waitTime,
                          std::int32_t returnValue, std::int32_t stopReason, std::string bytes);
    static Response scripted(std::string responseType, std::string script,
                             std::int32_t scriptTimeout);
    // A response whose type word was read but whose body is missing: it
    // delivers nothing and never becomes exhausted.
    static Response unknown(std::string responseType);

    Piece ReadPiece(std::int32_t count);
    void Reset();
    void SetScriptResult(std::string remainder, std::int32_t stopReason, std::int32_t returnValue);

    std::int32_t waitTime() const { return waitTime_; }
    std::int32_t returnValue() const { return returnValue_; }
    std::int32_t position() const { return position_; }
    std::int32_t stopReason() const { return stopReason_; }
    std::int32_t scriptTimeout() const { return scriptTimeout_; }
    const std::string& bytes() const { return bytes_; }
    const std::string& script() const { return script_; }
    const std::string& responseType() const { return responseType_; }
    bool exhausted() const { return exhausted_; }
    std::int32_t responseKind() const { return responseKind_; }
    void set_exhausted() { exhausted_ = true; }

   private:
    std::int32_t waitTime_ = 0;
    std::int32_t returnValue_ = 0;
    std::int32_t position_ = 0;
    std::int32_t stopReason_ = 0;
    std::int32_t scriptTimeout_ = -1;
    std::string bytes_;
    std::string script_;
    std::string responseType_;
    bool exhausted_ = false;
    std::int32_t responseKind_ = kNone;
  };

  // The results of the last write that matched this pair.
  struct WriteRecord {
    std::uint32_t actualWritten = 0;
    std::int32_t waitTime = 0;
    std::int32_t returnValue = 0;
    std::uint32_t flags = 0;
    std::string bytes;
  };

  SRPair() = default;
  SRPair(const SRPair& other);
  SRPair& operator=(const SRPair& other);
  SRPair(SRPair&&) noexcept = default;
  SRPair& operator=(SRPair&&) noexcept = default;

  virtual bool Matches(ScriptSession* session, const std::uint8_t* bytes, std::uint32_t count,
                       std::uint32_t flags) const;
  virtual std::int32_t Execute(ScriptSession* session, const std::uint8_t* bytes,
                               std::uint32_t count, std::uint32_t flags, std::int32_t timeout,
                               std::int32_t& wait, std::uint32_t& actual);
  virtual ~SRPair() = default;

  // Re-arms the response being left and steps to the next, cyclically.
  void AdvanceResponse();
  bool HasPendingResponse() const;
  std::int32_t CurrentResponseType() const;
  std::int32_t CurrentScriptTimeout() const;
  std::string TakeCurrentScript();
  Response::Piece ReadCurrentResponse(std::int32_t count);
  void SetCurrentScriptResult(std::string remainder, std::int32_t stopReason,
                              std::int32_t returnValue);
  const WriteRecord& LastWrite() const { return lastWrite_; }
  const Response& CurrentResponse() const { return responses_[currentResponse_]; }

  // Filled by the loader.
  void set_stimulus(std::unique_ptr<Stimulus> s) { stimulus_ = std::move(s); }
  void add_response(Response r) { responses_.push_back(std::move(r)); }
  void reserve_responses(std::size_t n) { responses_.reserve(n); }
  void set_version(double v) { version_ = v; }
  void set_name(std::string n) { name_ = std::move(n); }
  void set_unusable(bool u) { unusable_ = u; }

  const Stimulus* stimulus() const { return stimulus_.get(); }
  const std::vector<Response>& responses() const { return responses_; }
  double version() const { return version_; }
  const std::string& name() const { return name_; }
  bool unusable() const { return unusable_; }
  std::int32_t currentResponse() const { return currentResponse_; }

 private:
  std::unique_ptr<Stimulus> stimulus_;
  std::vector<Response> responses_;
  double version_ = 0.0;
  std::string name_;
  bool unusable_ = false;
  WriteRecord lastWrite_;
  std::int32_t currentResponse_ = -1;
};

}  // namespace tap
