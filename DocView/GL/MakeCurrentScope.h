#pragma once

namespace Ostra::OpenGL {

// One rendering context together with the surface it draws on: the window layer's
// canvas, or an offscreen buffer in tests.
class GlBinder {
public:
  virtual ~GlBinder() = default;
  // Makes this context current on this thread; false when the system refused.
  virtual bool MakeCurrent() = 0;
  // Leaves no context current (a platform may keep it current instead).
  virtual void Release() = 0;
  virtual void SwapBuffers() = 0;
};

// Keeps a context current for its lifetime. Scopes nest: the outermost makes the
// context current and releases it at its end, inner scopes of the same context do
// nothing. An inner scope for another context switches to it and switches back at its
// end, so one view's display lists never land in another view's context.
// Throws XAssertion "result != FALSE" when the context cannot be made current.
class MakeCurrentScope {
public:
  explicit MakeCurrentScope(GlBinder& binder);
  ~MakeCurrentScope();
  MakeCurrentScope(const MakeCurrentScope&) = delete;
  MakeCurrentScope& operator=(const MakeCurrentScope&) = delete;

  // The context of the innermost open scope; null when none is open.
  static GlBinder* Current();
  static int Depth();

private:
  GlBinder& Binder;
  GlBinder* Previous;
};

} // namespace Ostra::OpenGL
