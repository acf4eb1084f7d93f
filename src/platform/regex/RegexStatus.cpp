#include "platform/regex/RegexStatus.h"

namespace tap::regex {

std::string_view regex_status_text(RegexStatus status) {
  switch (status) {
#define TAP_REGEX_STATUS_CASE(name, text) \
  case RegexStatus::name:                 \
    return text;
    TAP_REGEX_STATUSES(TAP_REGEX_STATUS_CASE)
#undef TAP_REGEX_STATUS_CASE
  }
  return "Unknown regular expression status";
}

}  // namespace tap::regex
