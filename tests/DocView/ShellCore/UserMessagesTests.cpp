#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "DocView/Core/UserMessages.h"
#include "Util/Exception.h"

namespace Ostra::DocView {
namespace {

struct Recorder : UserMessages {
  void Show(const std::string& text, MessageParent) override { Shown.push_back(text); }
  QuestionAnswer Ask(const std::string&, MessageParent) override { return QuestionAnswer::Yes; }
  std::vector<std::string> Shown;
};

TEST(UserMessages, TheBoundaryShowsEachKindOfExceptionAndReportsFailure) {
  Recorder sink;
  EXPECT_TRUE(RunGuarded([] {}, sink, MessageParent::MainWindow));
  EXPECT_FALSE(RunGuarded([] { throw Util::XUsage("bad lap"); }, sink, MessageParent::MainWindow));
  EXPECT_FALSE(RunGuarded([] { throw std::runtime_error("bad alloc"); }, sink, MessageParent::View));
  EXPECT_FALSE(RunGuarded([] { throw 42; }, sink, MessageParent::View));
  EXPECT_EQ(sink.Shown, (std::vector<std::string>{"bad lap", "bad alloc", "Caught an unknown exception."}));
}

TEST(UserMessages, AnInstalledSinkReplacesTheDefaultUntilRemoved) {
  Recorder sink;
  UserMessages* previous = SetUserMessages(&sink);
  EXPECT_FALSE(RunGuarded([] { throw Util::XUsage("through the sink"); }));
  EXPECT_EQ(SetUserMessages(previous), &sink);
  EXPECT_EQ(sink.Shown, (std::vector<std::string>{"through the sink"}));
  // Without a sink nothing is discarded or written unasked: questions answer No, or
  // Cancel where Cancel is offered; so does a sink that cannot ask that question.
  EXPECT_EQ(GetUserMessages().Ask("Discard?", MessageParent::MainWindow), QuestionAnswer::No);
  EXPECT_EQ(GetUserMessages().AskYesNoCancel("Save?", MessageParent::MainWindow), QuestionAnswer::Cancel);
  EXPECT_EQ(sink.AskYesNoCancel("Save?", MessageParent::MainWindow), QuestionAnswer::Cancel);
}

} // namespace
} // namespace Ostra::DocView
