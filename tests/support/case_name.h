#pragma once
// Names each instance of a table-driven test after its row's `name`, so a
// failure says which row failed.
#include <gtest/gtest.h>

#include <string>

namespace tap::rows {

struct CaseName {
  template <typename Row>
  std::string operator()(const testing::TestParamInfo<Row>& info) const {
    return std::string(info.param.name);
  }
};

inline constexpr CaseName by_name{};

}  // namespace tap::rows
