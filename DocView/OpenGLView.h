#pragma once

#include <memory>

#include "DocView/DocViewBase.h"
#include "DocView/GL/GlViewCore.h"

class wxGLCanvas;
class wxGLContext;

namespace Ostra::DocView {

// A view that draws with OpenGL: a canvas child window with 24-bit depth and its own
// context. Everything it draws is the business of its core (GlViewCore); the view only
// forwards the canvas's size and paint events and shows, after the paint, the messages
// the paint collected. The context is made at the first paint, once the canvas is on
// screen, and freed with the display lists when the view or its canvas goes, whichever
// is first.
class COpenGLView : public CViewBase {
public:
  ~COpenGLView() override;

  // The canvas; a plain window when the display offers no suitable visual.
  wxWindow* CreatePaneWindow(wxWindow* parent) override;
  wxWindow* GetPaneWindow() const override;
  // Null without an OpenGL canvas.
  wxGLCanvas* GetCanvas() const;
  GlViewCore& GetCore() const { return *Core; }

  // Repaints without erasing.
  void RefreshCanvas();

  // How many views hold a context now (for tests of closing windows).
  static int LiveContextCount();

protected:
  explicit COpenGLView(std::unique_ptr<GlViewCore> core);

  // Called before each paint: hand the core what it is to draw.
  virtual void PrepareScene() {}

private:
  class Canvas;
  class CanvasBinder;
  friend class Canvas;

  void OnCanvasPaint();
  void OnCanvasSize();
  void ReleaseGl();
  bool EnsureContext();
  void ShowMessagesLater();

  std::unique_ptr<GlViewCore> Core;
  wxWindow* Window = nullptr;
  Canvas* GlCanvas = nullptr;
  std::unique_ptr<wxGLContext> Context;
  std::unique_ptr<CanvasBinder> Binder;
  bool ContextFailed = false;

  wxDECLARE_ABSTRACT_CLASS(COpenGLView);
};

} // namespace Ostra::DocView
