#include "Util/Exception.h"

#include <functional>
#include <stdexcept>

#include <gtest/gtest.h>

namespace Ostra::Util {
namespace {

struct WhatCase {
  const char* Label;
  std::function<std::string()> What;
  std::string Expected;
};

TEST(Exception, WhatComposesEachClassesText) {
  const WhatCase cases[] = {
      {"assertion", [] { return XAssertion("false", "Util/X.cpp", 1234).What(); },
       "Assertion failure at Util/X.cpp: 1234\nfalse\n"},
      {"usage unchanged", [] { return XUsage("no newline added").What(); }, "no newline added"},
      {"open", [] { return XFileOpen("/t/a.lp", "No such file or directory").What(); },
       "Couldn't open /t/a.lp\nNo such file or directory\n"},
      {"open with empty system text", [] { return XFileOpen("/t/a.lp", "").What(); },
       "Couldn't open /t/a.lp\n\n"},
      {"read", [] { return XFileRead("/t/a.lp").What(); }, "Couldn't read from /t/a.lp\n"},
      {"write", [] { return XFileWrite("/t/a.lp").What(); }, "Couldn't write to /t/a.lp\n"},
      {"seek", [] { return XFileSeek("/t/a.lp").What(); }, "Couldn't seek in /t/a.lp\n"},
      {"format", [] { return XFileFormat("/t/a.trk", "GPL trk file version not 3000").What(); },
       "A possible error was found in file /t/a.trk\nGPL trk file version not 3000\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.What(), c.Expected) << c.Label;
}

TEST(Exception, LineNumbersAreNeverGroupedWhateverTheGlobalLocale) {
  struct Grouping : std::numpunct<char> {
    std::string do_grouping() const override { return "\3"; }
    char do_thousands_sep() const override { return ','; }
  };
  const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new Grouping));
  const std::string text = XAssertion("x", "f", 1234567).What();
  std::locale::global(previous);
  EXPECT_EQ(text, "Assertion failure at f: 1234567\nx\n");
}

TEST(Exception, FamilyIsNotCaughtAsStdException) {
  bool caught_as_std = false;
  bool caught_as_ours = false;
  try {
    try {
      throw XFileRead("x");
    } catch (const std::exception&) {
      caught_as_std = true;
    }
  } catch (const Exception& e) {
    caught_as_ours = true;
    EXPECT_EQ(e.What(), "Couldn't read from x\n");
  }
  EXPECT_FALSE(caught_as_std);
  EXPECT_TRUE(caught_as_ours);
}

template <class A, class B>
constexpr bool Same = std::is_same_v<A, B>;

TEST(Exception, AssertStringifiesTheConditionAsWrittenWithTemplateCommas) {
  try {
    UTIL_ASSERT(Same<int, long>);
    FAIL() << "no throw";
  } catch (const XAssertion& e) {
    EXPECT_STREQ(e.Expression, "Same<int, long>");
    // Sources are named relative to the repository, never by a build machine path.
    EXPECT_STREQ(e.File, "tests/Util/ExceptionTest.cpp");
    EXPECT_GT(e.Line, 0);
  }
  try {
    UTIL_ASSERT_TEXT(1 + 1 == 3, "result != 0 && result < sizeof(buf)");
    FAIL() << "no throw";
  } catch (const XAssertion& e) {
    EXPECT_STREQ(e.Expression, "result != 0 && result < sizeof(buf)");
  }
  EXPECT_NO_THROW(UTIL_ASSERT(Same<int, int>));
}

TEST(Exception, CopiesCarryTheirText) {
  const XFileFormat original("f", "m");
  const XFileFormat copy = original;
  EXPECT_EQ(copy.What(), original.What());
  const RuntimeError& base = copy;
  EXPECT_EQ(base.What(), "A possible error was found in file f\nm\n");
}

} // namespace
} // namespace Ostra::Util
