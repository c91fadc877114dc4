// Background threads give way to the window's thread without slowing it down.
#include "base/background_thread.h"

#include <sys/resource.h>
#include <unistd.h>

#include <thread>

#include <gtest/gtest.h>

namespace {

int ownNiceness() { return getpriority(PRIO_PROCESS, static_cast<id_t>(gettid())); }

TEST(BackgroundThread, OnlyTheCallingThreadGivesWay) {
  const int windowThread = ownNiceness();
  int worker = 0;
  std::thread([&worker] {
    base::giveWayToTheWindow();
    worker = ownNiceness();
  }).join();
  EXPECT_EQ(19, worker);
  EXPECT_EQ(windowThread, ownNiceness()) << "the thread that called nothing keeps its share";
}

}  // namespace
