#include "DocView/GL/GlViewCore.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "DocView/GL/GlError.h"
#include "DocView/GLSupport/GlRecorder.h"
#include "Util/Exception.h"

namespace Ostra::DocView {
namespace {

using OpenGL::CheckGLError;
using OpenGL::MakeCurrentScope;
using OpenGL::XOpenGL;
using Test::GlRecorder;
using Test::RecordingBinder;

TEST(XOpenGL, SaysWhatGluCallsTheErrorAndTheCodeWhenGluHasNoName) {
  const struct {
    GLenum Code;
    const char* Text;
  } cases[] = {
      {GL_INVALID_OPERATION, "An OpenGLError occurred: invalid operation"},
      {GL_INVALID_VALUE, "An OpenGLError occurred: invalid value"},
      {GL_OUT_OF_MEMORY, "An OpenGLError occurred: out of memory"},
      {GL_INVALID_FRAMEBUFFER_OPERATION, "An OpenGLError occurred: invalid framebuffer operation"},
      {0x0507, "An OpenGLError occurred: unknown error 0x0507"},
      {0xBEEF, "An OpenGLError occurred: unknown error 0xBEEF"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(XOpenGL(c.Code).What(), c.Text) << c.Code;
}

TEST(CheckGLError, ThrowsOncePerPendingErrorInTheOrderReported) {
  GlRecorder gl;
  EXPECT_NO_THROW(CheckGLError(gl));
  gl.QueuedErrors = {GL_INVALID_ENUM, GL_INVALID_VALUE};
  for (GLenum expected : {GL_INVALID_ENUM, GL_INVALID_VALUE}) {
    try {
      CheckGLError(gl);
      ADD_FAILURE() << "no throw for " << expected;
    } catch (const XOpenGL& e) {
      EXPECT_EQ(e.ErrorCode, expected);
    }
  }
  EXPECT_NO_THROW(CheckGLError(gl));
}

TEST(MakeCurrentScope, NestedScopesOfOneContextBindOnceAndReleaseOnce) {
  GlRecorder log;
  RecordingBinder context(&log, "a");
  {
    MakeCurrentScope outer(context);
    {
      MakeCurrentScope inner(context);
      EXPECT_EQ(MakeCurrentScope::Depth(), 2);
    }
    EXPECT_EQ(MakeCurrentScope::Current(), &context);
  }
  EXPECT_EQ(MakeCurrentScope::Depth(), 0);
  EXPECT_EQ(log.Names(), (std::vector<std::string>{"bind a", "release a"}));
}

TEST(MakeCurrentScope, AScopeForAnotherContextSwitchesToItAndBack) {
  GlRecorder log;
  RecordingBinder a(&log, "a");
  RecordingBinder b(&log, "b");
  {
    MakeCurrentScope outer(a);
    {
      MakeCurrentScope other(b);
      EXPECT_EQ(MakeCurrentScope::Current(), &b);
      MakeCurrentScope same(b);
    }
    EXPECT_EQ(MakeCurrentScope::Current(), &a);
  }
  EXPECT_EQ(log.Names(), (std::vector<std::string>{"bind a", "bind b", "bind a", "release a"}));
}

TEST(MakeCurrentScope, AContextThatCannotBeMadeCurrentFailsTheAssertionAndOpensNothing) {
  RecordingBinder context;
  context.Refuse = true;
  try {
    MakeCurrentScope scope(context);
    FAIL() << "no throw";
  } catch (const Util::XAssertion& e) {
    EXPECT_STREQ(e.Expression, "result != FALSE");
    EXPECT_STREQ(e.File, "OpenGLView");
    EXPECT_EQ(e.Line, 36);
  }
  EXPECT_EQ(MakeCurrentScope::Depth(), 0);
  EXPECT_EQ(context.Releases, 0);
}

// Logs its hooks into the recorder; a hook can be told to throw.
class HookCore : public GlViewCore {
public:
  explicit HookCore(GlRecorder& gl) : GlViewCore(gl), Log(gl) {}
  std::string Throwing;
  bool Deleted = false;

protected:
  void SetupScene() override { Hook("SetupScene"); }
  void DrawBeforeScene() override { Hook("DrawBeforeScene"); }
  void DrawScene() override { Hook("DrawScene"); }
  void FinishScene() override { Hook("FinishScene"); }
  void DeleteDisplayList() override {
    Log.Note("DeleteDisplayList");
    Deleted = true;
  }

private:
  void Hook(const std::string& name) {
    Log.Note(name);
    if (name == Throwing)
      throw std::runtime_error(name + " failed");
  }
  GlRecorder& Log;
};

// A core with a context attached, as a view has it once shown.
class AttachedCore : public ::testing::Test {
protected:
  AttachedCore() { core.AttachContext(&context); }
  GlRecorder gl;
  RecordingBinder context{&gl};
  HookCore core{gl};
};

TEST_F(AttachedCore, PaintsInTheFixedHookOrderAndSetsUpOnlyAtTheFirstPaint) {
  core.Resize(200, 100);
  EXPECT_EQ(core.GetAspectRatio(), 2.0);
  EXPECT_TRUE(core.Paint());
  EXPECT_EQ(gl.Names(),
            (std::vector<std::string>{
                "bind ctx", "ClearIndex", "ClearDepth", "Enable", "Viewport", "MatrixMode",
                "LoadIdentity", "Perspective", "MatrixMode", "LoadIdentity", "LookAt",
                "SetupScene", "PushMatrix", "DrawBeforeScene", "PopMatrix", "PushMatrix",
                "DrawScene", "PopMatrix", "Finish", "swap ctx", "FinishScene", "release ctx"}));
  EXPECT_EQ(gl.Find("Perspective")->Args, (std::vector<double>{90.0, 2.0, 100000.0, 1e8}));
  EXPECT_EQ(gl.Find("LookAt")->Args,
            (std::vector<double>{0.0, 0.0, 2e7, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0}));

  gl.Reset();
  EXPECT_TRUE(core.Paint());
  EXPECT_EQ(gl.Count("ClearIndex"), 0);
  EXPECT_EQ(gl.Count("Viewport"), 0);
  EXPECT_EQ(gl.Count("SetupScene"), 1);
}

TEST(GlViewCore, WithoutAContextOrASizeNothingIsDrawnOrSwapped) {
  GlRecorder gl;
  HookCore core(gl);
  core.Resize(100, 100);
  EXPECT_FALSE(core.Paint());
  EXPECT_TRUE(gl.Calls.empty());

  RecordingBinder context(&gl);
  HookCore unsized(gl);
  unsized.AttachContext(&context);
  EXPECT_FALSE(unsized.Paint());
  EXPECT_EQ(gl.Count("SetupScene"), 0);
  EXPECT_EQ(context.Swaps, 0);
}

TEST_F(AttachedCore, AZeroSizeInEitherDirectionChangesNothing) {
  core.Resize(300, 150);
  core.Paint();
  for (auto [w, h] : {std::pair{0, 50}, std::pair{50, 0}, std::pair{0, 0}}) {
    gl.Reset();
    core.Resize(w, h);
    core.Paint();
    EXPECT_EQ(core.GetWidth(), 300);
    EXPECT_EQ(core.GetHeight(), 150);
    EXPECT_EQ(core.GetAspectRatio(), 2.0);
    EXPECT_EQ(gl.Count("Viewport"), 0);
  }
  gl.Reset();
  core.Resize(100, 200);
  core.Paint();
  EXPECT_EQ(gl.Find("Viewport")->Args, (std::vector<double>{0, 0, 100, 200}));
}

TEST_F(AttachedCore, AFailingHookIsReportedAfterThePaintOnceUntilForgotten) {
  core.Resize(10, 10);
  core.Throwing = "DrawScene";
  EXPECT_FALSE(core.Paint());
  EXPECT_EQ(MakeCurrentScope::Depth(), 0);
  EXPECT_EQ(core.TakeMessages(), (std::vector<std::string>{"DrawScene failed"}));
  EXPECT_EQ(gl.Count("FinishScene"), 0);

  core.Paint();
  EXPECT_TRUE(core.TakeMessages().empty());
  core.ForgetReportedFailures();
  core.Paint();
  EXPECT_EQ(core.TakeMessages().size(), 1u);
}

TEST_F(AttachedCore, ReleasingTheContextFreesTheListsWithTheContextCurrent) {
  core.ReleaseContext();
  EXPECT_EQ(gl.Names(),
            (std::vector<std::string>{"bind ctx", "DeleteDisplayList", "release ctx"}));
  gl.Reset();
  core.Resize(10, 10);
  EXPECT_FALSE(core.Paint());
  EXPECT_TRUE(gl.Calls.empty());
}

} // namespace
} // namespace Ostra::DocView
