#include "Util/Clipboard.h"

#include <boost/any.hpp>
#include <gtest/gtest.h>

#include "Util/Vector.h"

namespace Ostra::Util {
namespace {

TEST(Clipboard, StoresCopiesByCaseSensitiveId) {
  Clipboard& store = *Clipboard::Instance();
  EXPECT_EQ(&store, Clipboard::Instance());
  EXPECT_FALSE(store.IsDataPresent("ClipboardTest.points"));

  Vector<int> points = {1, 2, 3};
  store.SetData("ClipboardTest.points", points);
  points.push_back(4);
  auto first = store.GetData<Vector<int>>("ClipboardTest.points");
  EXPECT_EQ(first.size(), 3u);
  first.clear();
  EXPECT_EQ(store.GetData<Vector<int>>("ClipboardTest.points").size(), 3u);

  EXPECT_FALSE(store.IsDataPresent("clipboardtest.points"));
  store.SetData("ClipboardTest.points", std::string("replaced"));
  EXPECT_EQ(store.GetData<std::string>("ClipboardTest.points"), "replaced");
  EXPECT_THROW(store.GetData<Vector<int>>("ClipboardTest.points"), boost::bad_any_cast);

  try {
    store.GetData<int>("ClipboardTest.never");
    FAIL() << "no throw";
  } catch (const XAssertion& e) {
    EXPECT_STREQ(e.Expression, "IsDataPresent(id)");
  }
}

} // namespace
} // namespace Ostra::Util
