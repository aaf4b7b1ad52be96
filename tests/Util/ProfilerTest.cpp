#include "Util/Profiler.h"

#include <gtest/gtest.h>

#include <thread>

namespace Ostra::Util {
namespace {

void OnOtherThread(void (*body)()) { std::thread(body).join(); }

Profiler& TheProfiler() { return *Profiler::Instance(); }

TEST(Profiler, aRunWithoutScopesHoldsNoData) {
  TheProfiler().Start();
  EXPECT_EQ(TheProfiler().GetOpenFrameCount(), 1u);
  TheProfiler().Stop();
  EXPECT_FALSE(TheProfiler().HasData());
  EXPECT_EQ(TheProfiler().GetNodeCount(), 1u);
  EXPECT_EQ(TheProfiler().GetOpenFrameCount(), 0u);
}

TEST(Profiler, recordsEachScopeOnceUnderItsParent) {
  Profiler& profiler = TheProfiler();
  profiler.Start();
  profiler.Enter(1);
  for (int i = 0; i < 3; ++i) {
    profiler.Enter(2);
    profiler.Leave();
  }
  profiler.Leave();
  profiler.Enter(2); // the same id under another parent is another node
  profiler.Leave();
  profiler.Enter(1);
  profiler.Leave();
  EXPECT_EQ(profiler.GetOpenFrameCount(), 1u);
  profiler.Stop();
  EXPECT_TRUE(profiler.HasData());
  EXPECT_EQ(profiler.GetNodeCount(), 4u);
}

TEST(Profiler, ignoresScopesOutsideARun) {
  Profiler& profiler = TheProfiler();
  profiler.Start();
  profiler.Stop();
  profiler.Enter(1);
  profiler.Leave();
  EXPECT_FALSE(profiler.HasData());
  EXPECT_EQ(profiler.GetOpenFrameCount(), 0u);
}

TEST(Profiler, anUnmatchedLeaveKeepsTheRunsRoot) {
  Profiler& profiler = TheProfiler();
  profiler.Start();
  profiler.Leave();
  EXPECT_EQ(profiler.GetOpenFrameCount(), 1u);
  profiler.Enter(1);
  EXPECT_EQ(profiler.GetOpenFrameCount(), 2u);
  profiler.Stop();
  EXPECT_EQ(profiler.GetOpenFrameCount(), 0u);
}

TEST(Profiler, stopClosesEveryOpenScope) {
  Profiler& profiler = TheProfiler();
  profiler.Start();
  profiler.Enter(1);
  profiler.Enter(2);
  EXPECT_EQ(profiler.GetOpenFrameCount(), 3u);
  profiler.Stop();
  EXPECT_EQ(profiler.GetOpenFrameCount(), 0u);
  EXPECT_EQ(profiler.GetNodeCount(), 3u);
}

TEST(Profiler, ignoresScopesFromAnotherThread) {
  Profiler& profiler = TheProfiler();
  profiler.Start();
  OnOtherThread([] {
    TheProfiler().Enter(7);
    TheProfiler().Leave();
  });
  EXPECT_EQ(profiler.GetNodeCount(), 1u);
  EXPECT_EQ(profiler.GetOpenFrameCount(), 1u);
  profiler.Stop();
}

TEST(Profiler, stopFromAnotherThreadEndsTheRunButLeavesItsFrames) {
  Profiler& profiler = TheProfiler();
  profiler.Start();
  profiler.Enter(1);
  OnOtherThread([] { TheProfiler().Stop(); });
  EXPECT_EQ(profiler.GetOpenFrameCount(), 2u);
  profiler.Enter(2);
  profiler.Stop();
  EXPECT_EQ(profiler.GetOpenFrameCount(), 2u);
  EXPECT_EQ(profiler.GetNodeCount(), 2u);
}

TEST(ProfileScope, profilesItsLifetime) {
  {
    const ProfileScope scope;
    TheProfiler().Enter(1);
    EXPECT_EQ(TheProfiler().GetOpenFrameCount(), 2u);
  }
  EXPECT_EQ(TheProfiler().GetOpenFrameCount(), 0u);
  EXPECT_TRUE(TheProfiler().HasData());
}

} // namespace
} // namespace Ostra::Util
