#include "Util/CountedPtr.h"

#include <gtest/gtest.h>

namespace Ostra::Util {
namespace {

// Counts live instances so that every deletion is visible.
struct Tracked {
  static inline int Live = 0;
  static inline int Deleted = 0;
  Tracked() { ++Live; }
  virtual ~Tracked() {
    --Live;
    ++Deleted;
  }
};
struct Derived : Tracked {};
struct Other : Tracked {};

class CountedPtrTest : public ::testing::Test {
protected:
  void SetUp() override {
    Tracked::Live = 0;
    Tracked::Deleted = 0;
  }
};

TEST_F(CountedPtrTest, EmptyPointersShareNothing) {
  CountedPtr<Tracked> empty;
  CountedPtr<Tracked> from_null(static_cast<Tracked*>(nullptr));
  EXPECT_TRUE(empty.IsNull());
  EXPECT_EQ(from_null.UseCount(), 0);
  from_null = empty;
  EXPECT_EQ(Tracked::Deleted, 0);
}

TEST_F(CountedPtrTest, DeletesExactlyOnceWhateverTheReleaseOrder) {
  for (int order = 0; order < 3; ++order) {
    Tracked::Deleted = 0;
    auto* a = new CountedPtr<Tracked>(new Derived);
    auto* b = new CountedPtr<Tracked>(*a);
    auto* c = new CountedPtr<Tracked>(*b);
    EXPECT_EQ(a->UseCount(), 3);
    CountedPtr<Tracked>* all[3] = {a, b, c};
    for (int i = 0; i < 3; ++i) {
      delete all[(i + order) % 3];
      EXPECT_EQ(Tracked::Deleted, i == 2 ? 1 : 0) << "order " << order << " step " << i;
    }
  }
  EXPECT_EQ(Tracked::Live, 0);
}

TEST_F(CountedPtrTest, SelfAssignmentAndSharedCopiesKeepTheCount) {
  CountedPtr<Tracked> a(new Tracked);
  CountedPtr<Tracked> b = a;
  auto& alias = a;
  a = alias;
  a = b;
  EXPECT_EQ(a.UseCount(), 2);
  EXPECT_EQ(Tracked::Deleted, 0);
}

TEST_F(CountedPtrTest, AssigningEmptyReleasesTheLastShare) {
  CountedPtr<Tracked> a(new Tracked);
  a = CountedPtr<Tracked>();
  EXPECT_TRUE(a.IsNull());
  EXPECT_EQ(Tracked::Deleted, 1);
}

TEST_F(CountedPtrTest, ResetToTheSameObjectDoesNothingAndToNullReleases) {
  auto* raw = new Tracked;
  CountedPtr<Tracked> a(raw);
  a.Reset(raw);
  EXPECT_EQ(Tracked::Deleted, 0);
  EXPECT_EQ(a.UseCount(), 1);
  a.Reset(new Tracked);
  EXPECT_EQ(Tracked::Deleted, 1);
  a.Reset();
  EXPECT_EQ(Tracked::Deleted, 2);
  EXPECT_TRUE(a.IsNull());
}

TEST_F(CountedPtrTest, ConvertingCopySharesTheCount) {
  CountedPtr<Derived> d(new Derived);
  CountedPtr<Tracked> base = d;
  EXPECT_EQ(d.UseCount(), 2);
  EXPECT_TRUE(base == d);
}

TEST_F(CountedPtrTest, DynamicCastDowncastsOrThrowsLeavingTheTargetUnchanged) {
  CountedPtr<Tracked> base(new Derived);
  CountedPtr<Derived> derived;
  derived.DynamicCast(base);
  EXPECT_EQ(base.UseCount(), 2);
  EXPECT_EQ(derived.Get(), base.Get());

  CountedPtr<Tracked> other(new Other);
  CountedPtr<Derived> kept(new Derived);
  Derived* held = kept.Get();
  EXPECT_THROW(kept.DynamicCast(other), std::bad_cast);
  EXPECT_EQ(kept.Get(), held);
  EXPECT_EQ(kept.UseCount(), 1);
  EXPECT_EQ(other.UseCount(), 1);

  kept.DynamicCast(CountedPtr<Tracked>());
  EXPECT_TRUE(kept.IsNull());
  EXPECT_EQ(Tracked::Live, 2);
}

TEST_F(CountedPtrTest, AssigningFromAMemberOfTheReleasedObjectKeepsTheNewShare) {
  struct Holder : Tracked {
    CountedPtr<Tracked> Inner;
  };
  auto* holder = new Holder;
  holder->Inner.Reset(new Tracked);
  CountedPtr<Tracked> p(holder);
  // p holds the last share of holder, whose member is the source.
  p = holder->Inner;
  EXPECT_EQ(p.UseCount(), 1);
  EXPECT_EQ(Tracked::Live, 1);
  EXPECT_EQ(Tracked::Deleted, 1);
}

} // namespace
} // namespace Ostra::Util
