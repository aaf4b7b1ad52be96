#pragma once

#include <GL/gl.h>

// The OpenGL 1.1 and GLU calls the 3D views make, behind one table so that tests can
// record them instead of rasterising. Each member forwards to the call of the same name.
namespace Ostra::OpenGL {

class GlApi {
public:
  virtual ~GlApi() = default;

  virtual GLenum GetError() = 0;
  virtual void ClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) = 0;
  virtual void Clear(GLbitfield mask) = 0;
  virtual void ClearIndex(GLfloat index) = 0;
  virtual void ClearDepth(GLclampd depth) = 0;
  virtual void Viewport(GLint x, GLint y, GLsizei width, GLsizei height) = 0;
  virtual void MatrixMode(GLenum mode) = 0;
  virtual void LoadIdentity() = 0;
  virtual void PushMatrix() = 0;
  virtual void PopMatrix() = 0;
  virtual void Enable(GLenum capability) = 0;
  virtual void Disable(GLenum capability) = 0;
  virtual void BlendFunc(GLenum source, GLenum destination) = 0;
  virtual void ShadeModel(GLenum mode) = 0;
  virtual void Begin(GLenum mode) = 0;
  virtual void End() = 0;
  virtual void Vertex3d(GLdouble x, GLdouble y, GLdouble z) = 0;
  virtual void Color3d(GLdouble red, GLdouble green, GLdouble blue) = 0;
  virtual void Color4d(GLdouble red, GLdouble green, GLdouble blue, GLdouble alpha) = 0;
  virtual void PointSize(GLfloat size) = 0;
  virtual GLuint GenLists(GLsizei range) = 0;
  virtual void NewList(GLuint list, GLenum mode) = 0;
  virtual void EndList() = 0;
  virtual void CallList(GLuint list) = 0;
  virtual void DeleteLists(GLuint list, GLsizei range) = 0;
  virtual void Flush() = 0;
  virtual void Finish() = 0;
  // GLU
  virtual void Perspective(GLdouble fovy, GLdouble aspect, GLdouble near_plane,
                           GLdouble far_plane) = 0;
  virtual void LookAt(GLdouble eye_x, GLdouble eye_y, GLdouble eye_z, GLdouble centre_x,
                      GLdouble centre_y, GLdouble centre_z, GLdouble up_x, GLdouble up_y,
                      GLdouble up_z) = 0;
};

// The table that calls the real library (whatever context is current).
GlApi& RealGl();

} // namespace Ostra::OpenGL
