#include "DocView/GL/GlApi.h"

#include <GL/glu.h>

namespace Ostra::OpenGL {

namespace {

class LibraryGl final : public GlApi {
public:
  GLenum GetError() override { return glGetError(); }
  void ClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) override {
    glClearColor(red, green, blue, alpha);
  }
  void Clear(GLbitfield mask) override { glClear(mask); }
  void ClearIndex(GLfloat index) override { glClearIndex(index); }
  void ClearDepth(GLclampd depth) override { glClearDepth(depth); }
  void Viewport(GLint x, GLint y, GLsizei width, GLsizei height) override {
    glViewport(x, y, width, height);
  }
  void MatrixMode(GLenum mode) override { glMatrixMode(mode); }
  void LoadIdentity() override { glLoadIdentity(); }
  void PushMatrix() override { glPushMatrix(); }
  void PopMatrix() override { glPopMatrix(); }
  void Enable(GLenum capability) override { glEnable(capability); }
  void Disable(GLenum capability) override { glDisable(capability); }
  void BlendFunc(GLenum source, GLenum destination) override { glBlendFunc(source, destination); }
  void ShadeModel(GLenum mode) override { glShadeModel(mode); }
  void Begin(GLenum mode) override { glBegin(mode); }
  void End() override { glEnd(); }
  void Vertex3d(GLdouble x, GLdouble y, GLdouble z) override { glVertex3d(x, y, z); }
  void Color3d(GLdouble red, GLdouble green, GLdouble blue) override { glColor3d(red, green, blue); }
  void Color4d(GLdouble red, GLdouble green, GLdouble blue, GLdouble alpha) override {
    glColor4d(red, green, blue, alpha);
  }
  void PointSize(GLfloat size) override { glPointSize(size); }
  GLuint GenLists(GLsizei range) override { return glGenLists(range); }
  void NewList(GLuint list, GLenum mode) override { glNewList(list, mode); }
  void EndList() override { glEndList(); }
  void CallList(GLuint list) override { glCallList(list); }
  void DeleteLists(GLuint list, GLsizei range) override { glDeleteLists(list, range); }
  void Flush() override { glFlush(); }
  void Finish() override { glFinish(); }
  void Perspective(GLdouble fovy, GLdouble aspect, GLdouble near_plane,
                   GLdouble far_plane) override {
    gluPerspective(fovy, aspect, near_plane, far_plane);
  }
  void LookAt(GLdouble eye_x, GLdouble eye_y, GLdouble eye_z, GLdouble centre_x,
              GLdouble centre_y, GLdouble centre_z, GLdouble up_x, GLdouble up_y,
              GLdouble up_z) override {
    gluLookAt(eye_x, eye_y, eye_z, centre_x, centre_y, centre_z, up_x, up_y, up_z);
  }
};

} // namespace

GlApi& RealGl() {
  static LibraryGl table;
  return table;
}

} // namespace Ostra::OpenGL
