#include "platform/os/module_resources.h"

#include <gtest/gtest.h>

namespace tap::os {
namespace {

TEST(ModuleResources, SchemaIsCompiledIn) {
  auto schema = find_resource("XMLSCHEMA", 101);
  ASSERT_TRUE(schema);
  EXPECT_FALSE(schema->empty());
  EXPECT_FALSE(find_resource("XMLSCHEMA", 102));
  EXPECT_FALSE(find_resource("OTHER", 101));
}

TEST(ModuleResources, StringTableHoldsTheMessages) {
  EXPECT_EQ(load_string(2), u"Out Of Memory");
  EXPECT_EQ(load_string(0), u"");
  EXPECT_EQ(load_string(7), u"");
  // A fixed buffer cuts the text and keeps room for the terminator.
  EXPECT_EQ(load_string(2, 4), u"Out");
}

}  // namespace
}  // namespace tap::os
