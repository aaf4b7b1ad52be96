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

// glNewList(GL_COMPILE) on construction; glEndList at Commit(). Unwinding before Commit
// ends the list, deletes the partial list and drops the errors of the clean-up.
//
// Lists are compiled, then called, never compiled and executed at once: Mesa's display
// list compiler executes a GL_COMPILE_AND_EXECUTE list block by block as its vertex
// store fills, and once a list holds more vertices than one store takes (32,768 with a
// colour) that execution leaves Mesa inside glBegin, so the list ends with
// GL_INVALID_OPERATION and the picture is lost. Compiling alone has no such limit.
class ListCompileScope {
public:
  ListCompileScope(GlApi& gl, GLuint list) : Gl(gl), List(list) { Gl.NewList(List, GL_COMPILE); }
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

// Shapes of the separable modes (GL_QUADS, GL_LINES, GL_POINTS) drawn one after another
// under as few glBegin brackets as possible. Each shape is drawn as its own bracket
// would draw it, in the order given, so the picture stays the same; but a list of a few
// long primitives replays in one draw where one bracket per shape costs a draw each.
// Errors are checked when a bracket ends, since GL refuses the query inside one.
class PrimitiveBatch {
public:
  explicit PrimitiveBatch(GlApi& gl) : Gl(gl) {}
  ~PrimitiveBatch() {
    if (Open)
      Gl.End();
  }
  PrimitiveBatch(const PrimitiveBatch&) = delete;
  PrimitiveBatch& operator=(const PrimitiveBatch&) = delete;

  // Call before each shape's colour and vertices: opens a bracket of mode unless one is
  // open. A bracket is ended at a change of mode and before it grows past MaxVertices,
  // which keeps every primitive well within what any driver buffers at once.
  void Shape(GLenum mode, int vertices) {
    if (Open && (mode != Mode || Vertices + vertices > MaxVertices))
      End();
    if (!Open) {
      Gl.Begin(mode);
      Open = true;
      Mode = mode;
      Vertices = 0;
    }
    Vertices += vertices;
  }

  // Ends the open bracket, if any, and throws XOpenGL on a pending error.
  void End() {
    if (!Open)
      return;
    Open = false;
    Gl.End();
    CheckGLError(Gl);
  }

  static constexpr int MaxVertices = 8192;

private:
  GlApi& Gl;
  bool Open = false;
  GLenum Mode = 0;
  int Vertices = 0;
};

} // namespace Ostra::OpenGL
