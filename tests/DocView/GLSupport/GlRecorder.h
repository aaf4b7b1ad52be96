#pragma once

#include <GL/gl.h>

#include <array>
#include <deque>
#include <string>
#include <vector>

#include "DocView/GL/GlApi.h"
#include "DocView/GL/MakeCurrentScope.h"

namespace Ostra::Test {

struct GlCall {
  std::string Name;
  std::vector<double> Args;
};

// A glBegin .. glEnd bracket as recorded, with the colour in force at its glEnd.
struct GlPrimitive {
  GLenum Mode = 0;
  std::array<double, 4> Colour{0.0, 0.0, 0.0, 1.0};
  std::vector<std::array<double, 3>> Vertices;
};

// Stands in for the GL library: records every call in order and keeps just enough state
// to report the errors the real library would for misplaced brackets (glEnd without
// glBegin, glEndList without glNewList, a nested glNewList, a call other than vertex and
// colour inside glBegin). Further errors can be queued for GetError to return first.
class GlRecorder : public OpenGL::GlApi {
public:
  std::vector<GlCall> Calls;
  std::deque<GLenum> QueuedErrors;
  bool InPrimitive = false;
  bool InList = false;
  GLuint NextList = 1;

  GLenum GetError() override {
    if (InPrimitive) {
      // As the library does: the read itself is the error, and it reports none.
      Record("GetError", {});
      QueuedErrors.push_back(GL_INVALID_OPERATION);
      return GL_NO_ERROR;
    }
    if (QueuedErrors.empty())
      return GL_NO_ERROR;
    const GLenum error = QueuedErrors.front();
    QueuedErrors.pop_front();
    return error;
  }
  void ClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) override {
    Outside("ClearColor", {r, g, b, a});
  }
  void Clear(GLbitfield mask) override { Outside("Clear", {double(mask)}); }
  void ClearIndex(GLfloat index) override { Outside("ClearIndex", {index}); }
  void ClearDepth(GLclampd depth) override { Outside("ClearDepth", {depth}); }
  void Viewport(GLint x, GLint y, GLsizei w, GLsizei h) override {
    Outside("Viewport", {double(x), double(y), double(w), double(h)});
  }
  void MatrixMode(GLenum mode) override { Outside("MatrixMode", {double(mode)}); }
  void LoadIdentity() override { Outside("LoadIdentity", {}); }
  void PushMatrix() override { Outside("PushMatrix", {}); }
  void PopMatrix() override { Outside("PopMatrix", {}); }
  void Enable(GLenum cap) override { Outside("Enable", {double(cap)}); }
  void Disable(GLenum cap) override { Outside("Disable", {double(cap)}); }
  void BlendFunc(GLenum s, GLenum d) override { Outside("BlendFunc", {double(s), double(d)}); }
  void ShadeModel(GLenum mode) override { Outside("ShadeModel", {double(mode)}); }
  void Begin(GLenum mode) override {
    Outside("Begin", {double(mode)});
    InPrimitive = true;
  }
  void End() override {
    Record("End", {});
    if (!InPrimitive)
      QueuedErrors.push_back(GL_INVALID_OPERATION);
    InPrimitive = false;
  }
  void Vertex3d(GLdouble x, GLdouble y, GLdouble z) override { Record("Vertex3d", {x, y, z}); }
  void Color3d(GLdouble r, GLdouble g, GLdouble b) override { Record("Color3d", {r, g, b}); }
  void Color4d(GLdouble r, GLdouble g, GLdouble b, GLdouble a) override {
    Record("Color4d", {r, g, b, a});
  }
  void PointSize(GLfloat size) override { Outside("PointSize", {size}); }
  GLuint GenLists(GLsizei range) override {
    Outside("GenLists", {double(range)});
    const GLuint first = NextList;
    NextList += static_cast<GLuint>(range);
    return first;
  }
  void NewList(GLuint list, GLenum mode) override {
    Outside("NewList", {double(list), double(mode)});
    if (InList)
      QueuedErrors.push_back(GL_INVALID_OPERATION);
    InList = true;
  }
  void EndList() override {
    Outside("EndList", {});
    if (!InList)
      QueuedErrors.push_back(GL_INVALID_OPERATION);
    InList = false;
  }
  void CallList(GLuint list) override { Outside("CallList", {double(list)}); }
  void DeleteLists(GLuint list, GLsizei range) override {
    Outside("DeleteLists", {double(list), double(range)});
  }
  void Flush() override { Outside("Flush", {}); }
  void Finish() override { Outside("Finish", {}); }
  void Perspective(GLdouble fovy, GLdouble aspect, GLdouble n, GLdouble f) override {
    Outside("Perspective", {fovy, aspect, n, f});
  }
  void LookAt(GLdouble ex, GLdouble ey, GLdouble ez, GLdouble cx, GLdouble cy, GLdouble cz,
              GLdouble ux, GLdouble uy, GLdouble uz) override {
    Outside("LookAt", {ex, ey, ez, cx, cy, cz, ux, uy, uz});
  }

  // For hooks and binders that join the same log.
  void Note(const std::string& name) { Calls.push_back({name, {}}); }

  void Reset() {
    Calls.clear();
    QueuedErrors.clear();
  }

  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const GlCall& call : Calls)
      names.push_back(call.Name);
    return names;
  }

  int Count(const std::string& name) const {
    int n = 0;
    for (const GlCall& call : Calls)
      n += call.Name == name ? 1 : 0;
    return n;
  }

  const GlCall* Find(const std::string& name) const {
    for (const GlCall& call : Calls) {
      if (call.Name == name)
        return &call;
    }
    return nullptr;
  }

  // The shapes drawn: a GL_QUADS or GL_LINES bracket gives one entry per quad or line,
  // with the colour in force at its last vertex, as separate brackets would; a
  // GL_QUAD_STRIP one entry per quad, corners in drawing order, coloured by its last
  // vertex (flat shading's). Other brackets are one entry with the colour at glEnd.
  std::vector<GlPrimitive> Primitives() const {
    std::vector<GlPrimitive> primitives;
    std::array<double, 4> colour{1.0, 1.0, 1.0, 1.0};
    GLenum mode = 0;
    bool open = false;
    std::vector<std::array<double, 3>> strip;
    for (const GlCall& call : Calls) {
      if (call.Name == "Color3d")
        colour = {call.Args[0], call.Args[1], call.Args[2], 1.0};
      else if (call.Name == "Color4d")
        colour = {call.Args[0], call.Args[1], call.Args[2], call.Args[3]};
      const std::size_t per_shape = mode == GL_QUADS ? 4 : mode == GL_LINES ? 2 : 0;
      if (call.Name == "Begin") {
        mode = static_cast<GLenum>(call.Args[0]);
        open = true;
        strip.clear();
        if (mode != GL_QUAD_STRIP)
          primitives.push_back({mode, colour, {}});
      } else if (call.Name == "Vertex3d" && open) {
        const std::array<double, 3> v{call.Args[0], call.Args[1], call.Args[2]};
        if (mode == GL_QUAD_STRIP) {
          strip.push_back(v);
          const std::size_t n = strip.size();
          if (n >= 4 && n % 2 == 0)
            primitives.push_back(
                {mode, colour, {strip[n - 4], strip[n - 3], strip[n - 1], strip[n - 2]}});
          continue;
        }
        if (per_shape != 0 && primitives.back().Vertices.size() == per_shape)
          primitives.push_back({mode, colour, {}});
        primitives.back().Vertices.push_back(v);
        primitives.back().Colour = colour;
      } else if (call.Name == "End" && open) {
        open = false;
        if (mode != GL_QUAD_STRIP)
          primitives.back().Colour = colour;
      }
    }
    return primitives;
  }

private:
  void Record(const char* name, std::vector<double> args) {
    Calls.push_back({name, std::move(args)});
  }
  void Outside(const char* name, std::vector<double> args) {
    Record(name, std::move(args));
    if (InPrimitive)
      QueuedErrors.push_back(GL_INVALID_OPERATION);
  }
};

// A context that logs its binds, releases and swaps into a recorder (or nowhere).
class RecordingBinder : public OpenGL::GlBinder {
public:
  explicit RecordingBinder(GlRecorder* log = nullptr, std::string name = "ctx")
      : Log(log), Name(std::move(name)) {}

  bool MakeCurrent() override {
    ++Binds;
    if (Log != nullptr)
      Log->Note("bind " + Name);
    return !Refuse;
  }
  void Release() override {
    ++Releases;
    if (Log != nullptr)
      Log->Note("release " + Name);
  }
  void SwapBuffers() override {
    ++Swaps;
    if (Log != nullptr)
      Log->Note("swap " + Name);
  }

  GlRecorder* Log;
  std::string Name;
  bool Refuse = false;
  int Binds = 0;
  int Releases = 0;
  int Swaps = 0;
};

} // namespace Ostra::Test
