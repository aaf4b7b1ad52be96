#include "DocView/GL/MakeCurrentScope.h"

#include "Util/Exception.h"

namespace Ostra::OpenGL {

namespace {

// All views run on the user-interface thread, so one plain record serves them all.
struct ScopeState {
  GlBinder* Current = nullptr;
  int Depth = 0;
};

ScopeState& State() {
  static ScopeState state;
  return state;
}

void Bind(GlBinder& binder) {
  if (!binder.MakeCurrent())
    Util::FailAssertion("result != FALSE", "OpenGLView", 36);
}

} // namespace

MakeCurrentScope::MakeCurrentScope(GlBinder& binder) : Binder(binder), Previous(State().Current) {
  ScopeState& state = State();
  if (state.Depth == 0 || state.Current != &binder)
    Bind(binder);
  state.Current = &binder;
  ++state.Depth;
}

MakeCurrentScope::~MakeCurrentScope() {
  ScopeState& state = State();
  --state.Depth;
  if (state.Depth == 0) {
    Binder.Release();
    state.Current = nullptr;
  } else if (Previous != &Binder) {
    // The outer scope's context comes back; it was current before, so this succeeds
    // unless the system is failing, and a destructor has no one to tell.
    if (Previous != nullptr)
      Previous->MakeCurrent();
    state.Current = Previous;
  }
}

GlBinder* MakeCurrentScope::Current() { return State().Current; }

int MakeCurrentScope::Depth() { return State().Depth; }

} // namespace Ostra::OpenGL
