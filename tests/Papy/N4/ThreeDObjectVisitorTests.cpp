#include "N4KindFixtures.h"
#include "Papy/N4/ThreeDObjectAppearance.h"
#include "Papy/N4/ThreeDObjectRoot.h"
#include "Papy/N4/ThreeDObjectVisitor.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace Ostra::Papy {
namespace {

using namespace KindFixtures;

constexpr U32 AppearanceClass = 2;

// An appearance body after its reference, its seven texture references written by refs.
void AppearanceBody(ByteBuilder& b, const std::function<void(ByteBuilder&)>& refs) {
  Text(b.U32(1), "a").U32(2);
  refs(b);
  F64s(b, {0.25, 0.5, 0.75});
  F64s(b, std::vector<double>(9, 1.0));
  b.U32(1);
}

// A chain of appearances, levels long: each introduces the next in its first texture
// slot and refers back to it from `shared` more slots. The last one refers to tail
// (an object read before, or 0) from every slot. Returns the first one's id.
U32 Chain(ByteBuilder& b, U32& next_id, unsigned levels, unsigned shared, U32 tail) {
  const U32 id = next_id++;
  b.U32(id).U32(AppearanceClass);
  AppearanceBody(b, [&](ByteBuilder& refs) {
    if (levels == 1) {
      for (int i = 0; i < 7; ++i)
        refs.U32(tail);
      return;
    }
    const U32 child = Chain(refs, next_id, levels - 1, shared, tail);
    for (unsigned i = 1; i < 7; ++i)
      refs.U32(i <= shared ? child : 0);
  });
  return id;
}

// A top appearance whose first slots hold the chains that make adds, in order.
std::vector<unsigned char> TopOf(const std::vector<std::function<void(ByteBuilder&, U32&)>>& makes) {
  ByteBuilder b;
  NewClass(b, 1, AppearanceClass, "AppearanceDescriptor");
  U32 next_id = 3;
  AppearanceBody(b, [&](ByteBuilder& refs) {
    for (const auto& make : makes)
      make(refs, next_id);
    for (std::size_t i = makes.size(); i < 7; ++i)
      refs.U32(0);
  });
  return b.Data();
}

class AppearanceCounter : public ThreeDObjectVisitor {
public:
  explicit AppearanceCounter(U64 max_visits) : ThreeDObjectVisitor(max_visits) {}
  bool EnterAppearance(ThreeDObjectAppearance&) override {
    ++Appearances;
    return true;
  }
  U64 Appearances = 0;
};

struct WalkCase {
  const char* Name;
  std::vector<unsigned char> Bytes;
  U64 MaxVisits;
  unsigned Walks;
  std::string Outcome;
  U64 Appearances; // entered over all walks; 0: not checked
};

TEST(ThreeDObjectVisitorTest, WalksOfChainedOrHeavilySharedObjectsStopWithinTheirLimits) {
  using Make = std::function<void(ByteBuilder&, U32&)>;
  U32 first_head = 0;
  U32 second_head = 0;
  const std::vector<WalkCase> cases = {
      // 1 + (7^5 - 1) / 6 appearances per walk; the second walk alone stays in budget.
      {"shared five levels deep, walked twice",
       TopOf({[](ByteBuilder& b, U32& next) { Chain(b, next, 5, 6, 0); }}), 20000, 2,
       "walked", 2 * 2802},
      // Without a limit this walk would visit 7^60 objects.
      {"shared at every level of a long chain",
       TopOf({[](ByteBuilder& b, U32& next) { Chain(b, next, 60, 6, 0); }}), 100000, 1,
       "N4 archive objects shared too often to walk", 0},
      // Each chain nests 200 deep in the file and ends in the one before it.
      {"chains that end in earlier chains",
       TopOf({Make([&](ByteBuilder& b, U32& next) { first_head = Chain(b, next, 200, 0, 0); }),
              Make([&](ByteBuilder& b, U32& next) {
                second_head = Chain(b, next, 200, 0, first_head);
              }),
              Make([&](ByteBuilder& b, U32& next) { Chain(b, next, 200, 0, second_head); })}),
       ThreeDObjectVisitor::MaxWalkVisits, 1, "N4 archive objects chained too deeply to walk", 0},
  };
  for (const WalkCase& c : cases) {
    SCOPED_TRACE(c.Name);
    auto file = Load(c.Bytes);
    AppearanceCounter counter(c.MaxVisits);
    std::string outcome;
    for (unsigned walk = 0; walk < c.Walks; ++walk) {
      try {
        file->GetRoot()->Accept(counter);
        outcome = "walked";
      } catch (const XObjectWalk& e) {
        outcome = e.What();
      }
    }
    EXPECT_EQ(outcome, c.Outcome);
    EXPECT_LE(counter.Appearances, c.MaxVisits * c.Walks);
    if (c.Appearances != 0) {
      EXPECT_EQ(counter.Appearances, c.Appearances);
    }
  }
}

} // namespace
} // namespace Ostra::Papy
