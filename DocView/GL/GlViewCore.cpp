#include "DocView/GL/GlViewCore.h"

#include "DocView/Core/UserMessages.h"

namespace Ostra::DocView {

GlViewCore::GlViewCore(OpenGL::GlApi& gl) : Gl(gl) {}

void GlViewCore::AttachContext(OpenGL::GlBinder* binder) {
  if (binder == Binder)
    return;
  Binder = binder;
  // A new context starts without our state; the size must be applied to it again.
  Initialised = false;
  SizePending = AspectRatio != 0.0;
}

void GlViewCore::Resize(int width, int height) {
  if (width < 1 || height < 1)
    return;
  if (width == Width && height == Height && !SizePending)
    return;
  Width = width;
  Height = height;
  AspectRatio = static_cast<double>(width) / static_cast<double>(height);
  SizePending = true;
}

bool GlViewCore::Paint() {
  if (Binder == nullptr)
    return false;
  bool swapped = false;
  Guarded([&] {
    OpenGL::MakeCurrentScope scope(*Binder);
    if (!Initialised) {
      Initialised = true;
      InitGL();
    }
    if (SizePending) {
      SizePending = false;
      ApplySize();
    }
    if (AspectRatio == 0.0)
      return;
    SetupScene();
    Gl.PushMatrix();
    DrawBeforeScene();
    Gl.PopMatrix();
    Gl.PushMatrix();
    DrawScene();
    Gl.PopMatrix();
    Gl.Finish();
    if (FrameObserver)
      FrameObserver();
    Binder->SwapBuffers();
    swapped = true;
    FinishScene();
  });
  return swapped;
}

void GlViewCore::ReleaseContext() {
  if (Binder == nullptr)
    return;
  try {
    OpenGL::MakeCurrentScope scope(*Binder);
    DeleteDisplayList();
  } catch (...) {
    // The context goes with the window; nothing is left to tell the user about.
  }
  Binder = nullptr;
  Initialised = false;
}

std::vector<std::string> GlViewCore::TakeMessages() {
  std::vector<std::string> taken;
  taken.swap(Messages);
  return taken;
}

void GlViewCore::ForgetReportedFailures() { Reported.clear(); }

void GlViewCore::InitGL() {
  Gl.ClearIndex(0.0f);
  Gl.ClearDepth(1.0);
  Gl.Enable(GL_DEPTH_TEST);
}

void GlViewCore::SetProjection() { Gl.Perspective(90.0, AspectRatio, 100000.0, 1e8); }

void GlViewCore::SetCamera() { Gl.LookAt(0.0, 0.0, 2e7, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0); }

bool GlViewCore::Guarded(const std::function<void()>& work) {
  try {
    work();
    return true;
  } catch (...) {
    Report(CurrentExceptionText());
    return false;
  }
}

void GlViewCore::Report(const std::string& text) {
  if (Reported.insert(text).second)
    Messages.push_back(text);
}

void GlViewCore::ApplySize() {
  Gl.Viewport(0, 0, Width, Height);
  Gl.MatrixMode(GL_PROJECTION);
  Gl.LoadIdentity();
  SetProjection();
  Gl.MatrixMode(GL_MODELVIEW);
  Gl.LoadIdentity();
  SetCamera();
}

} // namespace Ostra::DocView
