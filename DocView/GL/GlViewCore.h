#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "DocView/GL/GlApi.h"
#include "DocView/GL/MakeCurrentScope.h"

namespace Ostra::DocView {

// What an OpenGL view keeps apart from its window: the size, the aspect ratio, the
// viewport and matrices kept in step with it, and the paint's fixed order of hooks.
// The window layer forwards its size and paint events here; everything GL runs inside a
// MakeCurrentScope of the context the window layer attached.
//
// Errors raised while painting are collected, never shown from inside the paint: the
// window layer takes them with TakeMessages() and shows them afterwards. A failure that
// repeats on every paint is reported once until ForgetReportedFailures().
class GlViewCore {
public:
  explicit GlViewCore(OpenGL::GlApi& gl);
  virtual ~GlViewCore() = default;
  GlViewCore(const GlViewCore&) = delete;
  GlViewCore& operator=(const GlViewCore&) = delete;

  // The context to draw with (not owned); null while there is none, and then a paint
  // does nothing.
  void AttachContext(OpenGL::GlBinder* binder);

  // A new drawable size in pixels. A size of 0 in either direction (a minimised frame)
  // changes nothing. The viewport and matrices follow at the next paint, the first time
  // the context can be made current.
  void Resize(int width, int height);

  // The paint: the first time InitGL, then any pending size, then SetupScene,
  // DrawBeforeScene and DrawScene (each between a matrix push and pop), glFinish, the
  // buffer swap and FinishScene. Nothing happens without a context or before the first
  // non-zero size. True when the buffers were swapped.
  bool Paint();

  // Frees the display lists with the context current (DeleteDisplayList), then forgets
  // the context. Call before the context is destroyed. Never throws.
  void ReleaseContext();

  // The texts of the failures since the last call, oldest first.
  std::vector<std::string> TakeMessages();
  void ForgetReportedFailures();

  // Called at each paint once the frame is drawn and before the buffers swap, with the
  // context current: lets tests and screenshots read the pixels. Empty to stop.
  void SetFrameObserver(std::function<void()> observer) { FrameObserver = std::move(observer); }

  // True when the next paint compiles something (worth a busy cursor).
  virtual bool HasPendingCompile() const { return false; }

  int GetWidth() const { return Width; }
  int GetHeight() const { return Height; }
  double GetAspectRatio() const { return AspectRatio; }

protected:
  virtual void InitGL();
  virtual void SetProjection();
  virtual void SetCamera();
  virtual void SetupScene() {}
  virtual void DrawBeforeScene() {}
  virtual void DrawScene() {}
  virtual void FinishScene() {}
  virtual void DeleteDisplayList() {}

  // Runs work at the user-interface boundary: an exception ends the work and its text
  // joins the messages. True when the work returned normally.
  bool Guarded(const std::function<void()>& work);
  void Report(const std::string& text);

  OpenGL::GlApi& Gl;

private:
  void ApplySize();

  OpenGL::GlBinder* Binder = nullptr;
  int Width = 0;
  int Height = 0;
  double AspectRatio = 0.0;
  bool SizePending = false;
  bool Initialised = false;
  std::vector<std::string> Messages;
  std::set<std::string> Reported;
  std::function<void()> FrameObserver;
};

} // namespace Ostra::DocView
