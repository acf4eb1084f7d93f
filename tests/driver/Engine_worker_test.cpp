// What an open makes of a worker that cannot start or has no script host.
#include <gtest/gtest.h>

#include "driver/Engine.h"
#include "scripting/HelperThread.h"

namespace tap {
namespace {

class EngineWorker : public testing::Test {
 protected:
  void TearDown() override {
    HelperThread::stop_for_testing();
    HelperThread::fail_services_for_testing(false, false);
  }
};

TEST_F(EngineWorker, OpenReturns128WhenTheWorkerCannotStart) {
  HelperThread::fail_next_start_for_testing();
  Engine engine;
  EXPECT_EQ(engine.Open("", 1, 0, 0, "", "", 0), 128);
}

TEST_F(EngineWorker, WithoutAScriptHostTheLoadNeverRunsAndTheOpenKeepsItsPreset) {
  HelperThread::stop_for_testing();
  HelperThread::fail_services_for_testing(true, false);
  Engine engine;
  EXPECT_EQ(engine.Open("", 1, 0, 0, "", "", 0), 24);
}

}  // namespace
}  // namespace tap
