#pragma once

#include <string>

#include <GL/gl.h>

#include "Util/Exception.h"

namespace Ostra::OpenGL {

class GlApi;

// An error that glGetError reported after an OpenGL step.
class XOpenGL : public Util::RuntimeError {
public:
  explicit XOpenGL(GLenum error_code) : ErrorCode(error_code) {}
  // "An OpenGLError occurred: " and GLU's text for the code, or "unknown error 0x0506"
  // (the code in hexadecimal) for a code GLU has no text for.
  std::string What() const override;

  GLenum ErrorCode;
};

// Reads one pending error; throws XOpenGL with it when there is one. A further pending
// error stays for the next call.
void CheckGLError(GlApi& gl);
// The same through the real library.
void CheckGLError();

// Reads and drops every pending error (at most a bounded number, so a broken driver
// cannot loop forever). For clean-up after a failed step, whose own error has been
// reported already.
void DiscardGLErrors(GlApi& gl);

} // namespace Ostra::OpenGL
