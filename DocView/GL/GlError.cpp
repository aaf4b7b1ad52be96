#include "DocView/GL/GlError.h"

#include <cstdio>

#include <GL/glu.h>

#include "DocView/GL/GlApi.h"

namespace Ostra::OpenGL {

std::string XOpenGL::What() const {
  std::string text = "An OpenGLError occurred: ";
  const GLubyte* glu_text = gluErrorString(ErrorCode);
  if (glu_text != nullptr) {
    text += reinterpret_cast<const char*>(glu_text);
  } else {
    char code[32];
    std::snprintf(code, sizeof code, "unknown error 0x%04X", static_cast<unsigned>(ErrorCode));
    text += code;
  }
  return text;
}

void CheckGLError(GlApi& gl) {
  const GLenum error = gl.GetError();
  if (error != GL_NO_ERROR)
    throw XOpenGL(error);
}

void CheckGLError() { CheckGLError(RealGl()); }

void DiscardGLErrors(GlApi& gl) {
  // GL keeps at most one flag per error kind; a handful of reads drains them all.
  for (int i = 0; i < 16 && gl.GetError() != GL_NO_ERROR; ++i) {
  }
}

} // namespace Ostra::OpenGL
