#include "DocView/OpenGLView.h"

#include <optional>

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/glcanvas.h>
#include <wx/utils.h>

#include "DocView/Core/CommandIds.h"
#include "DocView/Core/UserMessages.h"

namespace Ostra::DocView {

wxIMPLEMENT_ABSTRACT_CLASS(COpenGLView, CViewBase);

namespace {

int& LiveContexts() {
  static int count = 0;
  return count;
}

void ShowLater(const std::string& text) {
  if (wxTheApp != nullptr)
    wxTheApp->CallAfter([text] { GetUserMessages().Show(text, MessageParent::View); });
  else
    GetUserMessages().Show(text, MessageParent::View);
}

wxGLAttributes DisplayAttributes() {
  // GLX takes the depth as a minimum and Mesa's visuals offer 24 bits; the views draw
  // without depth testing anyway.
  wxGLAttributes attributes;
  attributes.PlatformDefaults().RGBA().DoubleBuffer().Depth(24).Stencil(1).EndList();
  return attributes;
}

} // namespace

class COpenGLView::Canvas : public wxGLCanvas {
public:
  Canvas(wxWindow* parent, const wxGLAttributes& attributes, COpenGLView* owner)
      : wxGLCanvas(parent, attributes, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                   wxFULL_REPAINT_ON_RESIZE | wxWANTS_CHARS),
        Owner(owner) {
    // OpenGL paints the whole client area; erasing first would only flicker.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
      const wxPaintDC dc(this);
      if (Owner != nullptr)
        Owner->OnCanvasPaint();
    });
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
      event.Skip();
      if (Owner != nullptr)
        Owner->OnCanvasSize();
    });
    Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent& event) {
      event.Skip();
      SetFocus();
    });
    wxAcceleratorEntry refresh(wxACCEL_NORMAL, WXK_F5, ID_VIEW_REFRESH);
    SetAcceleratorTable(wxAcceleratorTable(1, &refresh));
  }

  ~Canvas() override {
    // The window goes first (its frame was destroyed): the view lets go of the context
    // while the window can still take it.
    if (Owner != nullptr)
      Owner->ReleaseGl();
  }

  wxSize PhysicalSize() const {
    const wxSize logical = GetClientSize();
    const double scale = GetContentScaleFactor();
    return {static_cast<int>(logical.x * scale), static_cast<int>(logical.y * scale)};
  }

  COpenGLView* Owner;
};

class COpenGLView::CanvasBinder : public OpenGL::GlBinder {
public:
  CanvasBinder(wxGLCanvas& canvas, wxGLContext& context) : Canvas(canvas), Context(context) {}

  // A window that is not on screen (never shown, or already unrealised) cannot take a
  // context; asking the toolkit then would only raise its own assertion.
  bool MakeCurrent() override { return Canvas.GetXWindow() != 0 && Canvas.SetCurrent(Context); }
  // The toolkit has no call that leaves no context current; the next scope makes its
  // own context current anyway.
  void Release() override {}
  void SwapBuffers() override { Canvas.SwapBuffers(); }

private:
  wxGLCanvas& Canvas;
  wxGLContext& Context;
};

COpenGLView::COpenGLView(std::unique_ptr<GlViewCore> core) : Core(std::move(core)) {}

COpenGLView::~COpenGLView() { ReleaseGl(); }

wxWindow* COpenGLView::CreatePaneWindow(wxWindow* parent) {
  const wxGLAttributes attributes = DisplayAttributes();
  if (!wxGLCanvas::IsDisplaySupported(attributes)) {
    ShowLater("OpenGL visual not supported");
    Window = new wxWindow(parent, wxID_ANY);
    return Window;
  }
  GlCanvas = new Canvas(parent, attributes, this);
  Window = GlCanvas;
  return Window;
}

wxWindow* COpenGLView::GetPaneWindow() const { return Window; }

wxGLCanvas* COpenGLView::GetCanvas() const { return GlCanvas; }

void COpenGLView::RefreshCanvas() {
  if (GlCanvas != nullptr)
    GlCanvas->Refresh(false);
}

int COpenGLView::LiveContextCount() { return LiveContexts(); }

bool COpenGLView::EnsureContext() {
  if (Context != nullptr)
    return true;
  if (ContextFailed || GlCanvas == nullptr)
    return false;
  auto context = std::make_unique<wxGLContext>(GlCanvas);
  if (!context->IsOK()) {
    ContextFailed = true;
    ShowLater("OpenGL context creation failed");
    return false;
  }
  Context = std::move(context);
  ++LiveContexts();
  Binder = std::make_unique<CanvasBinder>(*GlCanvas, *Context);
  Core->AttachContext(Binder.get());
  return true;
}

void COpenGLView::OnCanvasPaint() {
  // GTK cannot make a context current before the window is on screen: set up here.
  if (!EnsureContext())
    return;
  PrepareScene();
  const wxSize size = GlCanvas->PhysicalSize();
  Core->Resize(size.x, size.y);
  std::optional<wxBusyCursor> busy;
  if (Core->HasPendingCompile())
    busy.emplace();
  Core->Paint();
  ShowMessagesLater();
}

void COpenGLView::OnCanvasSize() {
  const wxSize size = GlCanvas->PhysicalSize();
  Core->Resize(size.x, size.y);
  GlCanvas->Refresh(false);
}

void COpenGLView::ShowMessagesLater() {
  // Never from inside the paint: a modal box would let other windows paint meanwhile.
  for (const std::string& text : Core->TakeMessages())
    ShowLater(text);
}

void COpenGLView::ReleaseGl() {
  if (Context != nullptr) {
    Core->ReleaseContext();
    Binder.reset();
    Context.reset();
    --LiveContexts();
  }
  if (GlCanvas != nullptr) {
    GlCanvas->Owner = nullptr;
    GlCanvas = nullptr;
    Window = nullptr;
  }
}

} // namespace Ostra::DocView
