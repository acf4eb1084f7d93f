#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace tap {

// One recorded DoCommand exchange: the command, flags and leading data a
// call must carry, and the answers it gets, in turn.
class DoCommandSR {
 public:
  class DoCommandResponse {
   public:
    DoCommandResponse() = default;
    DoCommandResponse(std::int32_t waitTime, std::int32_t returnValue, std::string data)
        : waitTime(waitTime), returnValue(returnValue), data(std::move(data)) {}
    virtual ~DoCommandResponse() = default;
    DoCommandResponse(const DoCommandResponse&) = default;
    DoCommandResponse& operator=(const DoCommandResponse&) = default;
    DoCommandResponse(DoCommandResponse&&) = default;
    DoCommandResponse& operator=(DoCommandResponse&&) = default;

    std::int32_t waitTime = 0;  // an element without waitTime does not delay
    std::int32_t returnValue = 0;
    std::string data;
  };

  struct Answer {
    std::int32_t returnValue = 0;
    std::int32_t wait = 0;
  };

  DoCommandSR() = default;
  virtual ~DoCommandSR() = default;
  DoCommandSR(const DoCommandSR&) = default;
  DoCommandSR& operator=(const DoCommandSR&) = default;
  DoCommandSR(DoCommandSR&&) = default;
  DoCommandSR& operator=(DoCommandSR&&) = default;

  bool Matches(std::uint32_t command, std::uint32_t flags, std::int32_t size,
               const std::uint8_t* block) const;
  // Steps to the next response and copies its data over the start of the
  // block, never past `size` bytes.
  Answer AnswerDoCommand(std::uint8_t* block, std::int32_t size);

  std::uint32_t doCmdFlags = 0;
  std::string data;
  std::vector<DoCommandResponse> responses;
  std::uint32_t command = 0xFFFFFFFFu;
  std::int32_t currentResponse = -1;
  double version = -1.0;
  bool unusable = true;
  bool ignoreFlags = true;
  std::string name;
  std::string doCmdType;
  std::uint32_t matchKind = 0;
};

}  // namespace tap
