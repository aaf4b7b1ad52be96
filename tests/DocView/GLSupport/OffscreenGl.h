#pragma once

#ifndef VELMAR_NO_EGL
#include <EGL/egl.h>
#include <EGL/eglext.h>
#endif
#include <GL/gl.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "DocView/GL/MakeCurrentScope.h"

namespace Ostra::Test {

#ifndef VELMAR_NO_EGL

// A real OpenGL context without a window: Mesa's surfaceless EGL platform with a
// pbuffer of the given size, legacy (compatibility) GL as the views use it. Usable()
// is false, with Problem() saying why, where the platform offers no such context; the
// pixel tests then skip. Swapping a pbuffer does nothing, so pixels are read from the
// buffer that was drawn.
class OffscreenGl : public OpenGL::GlBinder {
public:
  OffscreenGl(int width, int height) : Width(width), Height(height) {
    // Mesa's software rasteriser, as under Xvfb, even where a GPU is at hand: the pixel
    // checks expect its rounding. Read once, when the process first opens the display.
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    auto get_display = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (get_display == nullptr) {
      Why = "EGL has no eglGetPlatformDisplayEXT";
      return;
    }
    Display = get_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    EGLint major = 0;
    EGLint minor = 0;
    if (Display == EGL_NO_DISPLAY || !eglInitialize(Display, &major, &minor)) {
      Why = "no surfaceless EGL display (Mesa's EGL, package libegl-mesa0, has one)";
      Display = EGL_NO_DISPLAY;
      return;
    }
    const EGLint config_attributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RED_SIZE, 8,
                                        EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8,
                                        EGL_DEPTH_SIZE, 16, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                        EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configs = 0;
    if (!eglChooseConfig(Display, config_attributes, &config, 1, &configs) || configs < 1) {
      Why = "no RGBA pbuffer configuration for desktop OpenGL";
      return;
    }
    const EGLint surface_attributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    Surface = eglCreatePbufferSurface(Display, config, surface_attributes);
    if (Surface == EGL_NO_SURFACE || !eglBindAPI(EGL_OPENGL_API)) {
      Why = "no pbuffer surface";
      return;
    }
    Context = eglCreateContext(Display, config, EGL_NO_CONTEXT, nullptr);
    if (Context == EGL_NO_CONTEXT)
      Why = "no desktop OpenGL context";
  }

  ~OffscreenGl() override {
    if (Display == EGL_NO_DISPLAY)
      return;
    eglMakeCurrent(Display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (Context != EGL_NO_CONTEXT)
      eglDestroyContext(Display, Context);
    if (Surface != EGL_NO_SURFACE)
      eglDestroySurface(Display, Surface);
    // The display is shared by every context of the process; it stays initialised.
  }
  OffscreenGl(const OffscreenGl&) = delete;
  OffscreenGl& operator=(const OffscreenGl&) = delete;

  bool Usable() const { return Context != EGL_NO_CONTEXT; }
  const std::string& Problem() const { return Why; }

  bool MakeCurrent() override {
    return Usable() && eglMakeCurrent(Display, Surface, Surface, Context) == EGL_TRUE;
  }
  void Release() override {
    eglMakeCurrent(Display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  }
  void SwapBuffers() override {}

  // RGBA bytes, bottom row first, as glReadPixels gives them; the context must be current.
  std::vector<unsigned char> ReadPixels() const {
    std::vector<unsigned char> pixels(static_cast<std::size_t>(Width) * Height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, Width, Height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
  }

  const int Width;
  const int Height;

private:
  EGLDisplay Display = EGL_NO_DISPLAY;
  EGLSurface Surface = EGL_NO_SURFACE;
  EGLContext Context = EGL_NO_CONTEXT;
  std::string Why;
};

#else

// Built where CMake found no EGL: never usable, and the pixel tests say why.
class OffscreenGl : public OpenGL::GlBinder {
public:
  OffscreenGl(int width, int height) : Width(width), Height(height) {}

  bool Usable() const { return false; }
  const std::string& Problem() const { return Why; }

  bool MakeCurrent() override { return false; }
  void Release() override {}
  void SwapBuffers() override {}
  std::vector<unsigned char> ReadPixels() const { return {}; }

  const int Width;
  const int Height;

private:
  std::string Why = "built without EGL (CMake found no EGL library; package libegl-dev provides it)";
};

#endif

} // namespace Ostra::Test
