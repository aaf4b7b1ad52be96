#pragma once

#include <GL/gl.h>

#include "DocView/GL/GlApi.h"
#include "DocView/GL/GlError.h"

// Scope guards for the two GL brackets an exception can leave open: the track model may
// throw between glBegin and glEnd, and anything may throw while a display list compiles.
// Left open, either would turn every later paint into a GL error. GenerateList names
// such a list, or throws when GL has no name to give.
namespace Ostra::OpenGL {

// glBegin on construction; glEnd at End() or, on unwinding, in the destructor.
class PrimitiveScope {
public:
  PrimitiveScope(GlApi& gl, GLenum mode) : Gl(gl) { Gl.Begin(mode); }
  ~PrimitiveScope() {
    if (Open)
      Gl.End();
  }
  PrimitiveScope(const PrimitiveScope&) = delete;
  PrimitiveScope& operator=(const PrimitiveScope&) = delete;

  void End() {
    Open = false;
    Gl.End();
  }

private:
  GlApi& Gl;
  bool Open = true;
};

// A new display-list name. Throws XOpenGL when GL reports an error, or runs out of
// names (glGenLists gives 0 then without necessarily raising an error).
inline GLuint GenerateList(GlApi& gl) {
  const GLuint list = gl.GenLists(1);
  CheckGLError(gl);
  if (list == 0)
    throw XOpenGL(GL_OUT_OF_MEMORY);
  return list;
}

// glNewList on construction; glEndList at Commit(). Unwinding before Commit ends the
// list, deletes the partial list and drops the errors of the clean-up, so the next
// paint starts from a clean state and compiles the list again.
class ListCompileScope {
public:
  ListCompileScope(GlApi& gl, GLuint list, GLenum mode) : Gl(gl), List(list) {
    Gl.NewList(List, mode);
  }
  ~ListCompileScope() {
    if (Committed)
      return;
    Gl.EndList();
    Gl.DeleteLists(List, 1);
    DiscardGLErrors(Gl);
  }
  ListCompileScope(const ListCompileScope&) = delete;
  ListCompileScope& operator=(const ListCompileScope&) = delete;

  void Commit() {
    Committed = true;
    Gl.EndList();
  }

private:
  GlApi& Gl;
  GLuint List;
  bool Committed = false;
};

} // namespace Ostra::OpenGL
