#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <array>
#include <cstdlib>
#include <optional>
#include <vector>

#include <wx/glcanvas.h>
#include <wx/mdi.h>

#include "DocView/Core/CommandIds.h"
#include "DocView/GL/Trk3DOverlayRenderer.h"
#include "DocView/TrkSplitterFrame.h"
#include "Papy/Types/SurfaceType.h"
#include "TestSupport/EditorTestApp.h"
#include "Velmar/App/LpDocVelmar.h"
#include "Velmar/App/Trk3DViewVelmar.h"
#include "Velmar/App/TrkDocVelmar.h"

namespace Ostra::Test {
namespace {

using DocView::COpenGLView;
using Rgb = std::array<int, 3>;
using Velmar::CTrk3DViewVelmar;
using Velmar::CTrkDocVelmar;

Rgb ToRgb(const Papy::Colour& c) {
  return {static_cast<int>(c.Red * 255.0 + 0.5), static_cast<int>(c.Green * 255.0 + 0.5),
          static_cast<int>(c.Blue * 255.0 + 0.5)};
}

bool Near(const Rgb& a, const Rgb& b) {
  for (int c = 0; c < 3; ++c) {
    if (std::abs(a[c] - b[c]) > 2)
      return false;
  }
  return true;
}

// What the canvas shows, read back from its front buffer after a paint, with the
// matrices that placed it.
class Picture {
public:
  // Paints the view and reads the frame before it goes to the screen.
  explicit Picture(CTrk3DViewVelmar& view) {
    view.GetCore().SetFrameObserver([this] { Read(); });
    wxGLCanvas* canvas = view.GetCanvas();
    canvas->Refresh(false);
    canvas->Update();
    SettleWx();
    view.GetCore().SetFrameObserver({});
  }

  bool Valid() const { return !Pixels.empty(); }

  std::array<int, 2> Locate(double x, double y) const {
    double wx = 0;
    double wy = 0;
    double wz = 0;
    gluProject(x, y, 0.0, ModelView.data(), Projection.data(), Viewport.data(), &wx, &wy, &wz);
    return {static_cast<int>(wx), static_cast<int>(wy)};
  }

  Rgb At(int px, int py) const {
    if (px < 0 || py < 0 || px >= Viewport[2] || py >= Viewport[3])
      return {-1, -1, -1};
    const std::size_t i = (static_cast<std::size_t>(py) * Viewport[2] + px) * 4;
    return {Pixels[i], Pixels[i + 1], Pixels[i + 2]};
  }

  ::testing::AssertionResult ColourAt(const Papy::Point3D& p, const Rgb& expected) const {
    const auto [px, py] = Locate(p.X, p.Y);
    const Rgb got = At(px, py);
    if (Near(got, expected))
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel " << px << "," << py << " is " << got[0]
                                         << " " << got[1] << " " << got[2];
  }

  // A thin line: some pixel within one of the point's projection.
  bool LineNear(const Papy::Point3D& p, const Rgb& expected) const {
    const auto [px, py] = Locate(p.X, p.Y);
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        if (Near(At(px + dx, py + dy), expected))
          return true;
      }
    }
    return false;
  }

  bool Contains(const Rgb& colour) const {
    for (int y = 0; y < Viewport[3]; ++y) {
      for (int x = 0; x < Viewport[2]; ++x) {
        if (Near(At(x, y), colour))
          return true;
      }
    }
    return false;
  }

private:
  void Read() {
    glGetIntegerv(GL_VIEWPORT, Viewport.data());
    glGetDoublev(GL_MODELVIEW_MATRIX, ModelView.data());
    glGetDoublev(GL_PROJECTION_MATRIX, Projection.data());
    Pixels.resize(static_cast<std::size_t>(Viewport[2]) * Viewport[3] * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, Viewport[2], Viewport[3], GL_RGBA, GL_UNSIGNED_BYTE, Pixels.data());
  }

  std::array<GLint, 4> Viewport{};
  std::array<double, 16> ModelView{};
  std::array<double, 16> Projection{};
  std::vector<unsigned char> Pixels;
};

// Two points of segment s's first paved strip, a quarter and three quarters across at
// the segment's middle (a line drawn over the strip covers at most one), and its colour.
struct PavedPoints {
  std::array<Papy::Point3D, 2> Points;
  Rgb Colour;
};

PavedPoints FindPaved(const Papy::Track& track, U32 s) {
  const auto segment = track.GetSegment(s);
  for (U32 k = 0; k < segment->GetFSectionCount(); ++k) {
    const auto strip = segment->GetFSection(k);
    if (DocView::SurfaceLayer(strip->GetSurfaceType()) != 1)
      continue;
    const double right = (strip->GetRightStartLatitude() + strip->GetRightEndLatitude()) / 2.0;
    const double left = (strip->GetLeftStartLatitude() + strip->GetLeftEndLatitude()) / 2.0;
    const double middle = segment->GetLength2D() / 2.0;
    return {{segment->GetPosition(middle, right + (left - right) * 0.25),
             segment->GetPosition(middle, right + (left - right) * 0.75)},
            ToRgb(DocView::GripColour(strip->GetSurfaceType(), strip->GetGripModifier()))};
  }
  ADD_FAILURE() << "segment " << s << " has no paved strip";
  return {};
}

::testing::AssertionResult ShowsPaved(const Picture& picture, const PavedPoints& paved) {
  const ::testing::AssertionResult first = picture.ColourAt(paved.Points[0], paved.Colour);
  if (first)
    return first;
  return picture.ColourAt(paved.Points[1], paved.Colour) << "; " << first.message();
}

class Trk3DFlow : public EditorTest {
protected:
  void SetUp() override {
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    EditorTest::SetUp();
  }

  // Opens a track; its 3D view, or null.
  CTrk3DViewVelmar* OpenTrack(const std::string& path) {
    Doc = dynamic_cast<CTrkDocVelmar*>(OpenAsUser(path));
    if (Doc == nullptr)
      return nullptr;
    return FindView<CTrk3DViewVelmar>(Doc);
  }

  // Sends a command as the menu does, to the track's frame, whichever pane is active.
  void Command(int id) {
    wxCommandEvent event(wxEVT_MENU, id);
    Frame()->ProcessWindowEvent(event);
    SettleWx();
  }

  std::optional<bool> CheckMark(int id) {
    wxUpdateUIEvent event(id);
    Frame()->ProcessWindowEvent(event);
    if (!event.GetSetChecked())
      return std::nullopt;
    return event.GetChecked();
  }

  wxWindow* Frame() const { return Doc->GetFirstView()->GetFrame(); }

  CTrkDocVelmar* Doc = nullptr;
};

// Each game's sample draws through the same track model: its strips, its race.lp in
// red, and a segment selected in the tree outlined in red, seen from 100 m.
TEST_F(Trk3DFlow, EachSampleShowsWithItsRaceLineAndTheSelectedSegmentsOutline) {
  for (const std::string& path : {EditorSamples().GplTrack, EditorSamples().N2Track, EditorSamples().N4Track}) {
    SCOPED_TRACE(path);
    CTrk3DViewVelmar* view = OpenTrack(path);
    ASSERT_NE(view, nullptr) << EditorMessages().Joined();
    ASSERT_NE(view->GetCanvas(), nullptr);
    const Papy::Track& track = *Doc->GetTrack();

    const Picture whole(*view);
    ASSERT_TRUE(whole.Valid()) << "the 3D view never painted";
    EXPECT_TRUE(EditorMessages().Shown.empty()) << EditorMessages().Joined();
    for (U32 s = 0; s < track.GetSegmentCount(); s += 2) {
      EXPECT_TRUE(ShowsPaved(whole, FindPaved(track, s))) << "segment " << s;
    }
    ASSERT_EQ(Doc->GetLpDocumentCount(), 1);
    const auto lp = dynamic_cast<Velmar::CLpDocVelmar*>(Doc->GetLpDocument(0))->GetLpFile();
    for (U32 i = 0; i < lp->GetRecordCount(); i += lp->GetRecordCount() / 7) {
      const auto p = track.GetPosition(lp->GetRecordLongitude(i), lp->GetRecordLatitude(i));
      EXPECT_TRUE(whole.LineNear(p, {255, 0, 0})) << "record " << i;
    }

    const U32 selected = track.GetSegmentCount() / 2;
    const auto segment = track.GetSegment(selected);
    const double right = segment->GetFSection(0)->GetRightStartLatitude();
    const auto edge = segment->GetPosition(segment->GetLength2D() / 2.0, right);
    EXPECT_FALSE(whole.LineNear(edge, {255, 0, 0}));
    DocView::UpdateAllViewsHint(Doc, nullptr, DocView::MakeSegmentHint(selected));
    const Picture close(*view);
    EXPECT_EQ(view->GetOverlays().GetCameraSetting().EyeHeight, 100.0);
    EXPECT_TRUE(close.LineNear(edge, {255, 0, 0}));
    if (path == EditorSamples().GplTrack) { // elsewhere the red line covers the probe points
      EXPECT_TRUE(ShowsPaved(close, FindPaved(track, selected)));
    }
    EXPECT_TRUE(EditorMessages().Shown.empty()) << EditorMessages().Joined();

    // Closing the window frees the context with the view.
    EXPECT_GE(COpenGLView::LiveContextCount(), 1);
    CloseAllDocuments();
    EXPECT_EQ(COpenGLView::LiveContextCount(), 0);
  }
}

TEST_F(Trk3DFlow, ViewCommandsFromAnyPaneSwitchTheOverlays) {
  CTrk3DViewVelmar* view = OpenTrack(EditorSamples().GplTrack);
  ASSERT_NE(view, nullptr) << EditorMessages().Joined();
  const Papy::Track& track = *Doc->GetTrack();
  DocView::Trk3DOverlayRenderer& overlays = view->GetOverlays();

  // A white centre line, off by default.
  const double d = track.GetLength2D() * 0.3;
  const auto centre = track.GetPosition(d, 0.0);
  EXPECT_EQ(CheckMark(DocView::ID_VIEW_CENTRELINE), false);
  EXPECT_FALSE(Picture(*view).LineNear(centre, {255, 255, 255}));
  Command(DocView::ID_VIEW_CENTRELINE);
  EXPECT_TRUE(overlays.Toggles.ShowCentreline);
  EXPECT_EQ(CheckMark(DocView::ID_VIEW_CENTRELINE), true);
  EXPECT_TRUE(Picture(*view).LineNear(centre, {255, 255, 255}));
  Command(DocView::ID_VIEW_CENTRELINE);
  EXPECT_EQ(CheckMark(DocView::ID_VIEW_CENTRELINE), false);

  // Speed modifiers of 0.1 and more: an opaque band from latitude -4 to 4.
  auto* race = dynamic_cast<Velmar::CLpDocVelmar*>(Doc->GetLpDocument(0));
  ASSERT_NE(race, nullptr);
  const auto lp = race->GetLpFile();
  for (U32 i = 0; i < lp->GetRecordCount(); ++i)
    race->SetRecordSpeedModifier(static_cast<int>(i), 0.5);
  const auto band = track.GetPosition(d, 1.0);
  const Rgb pink{255, 128, 128};
  EXPECT_FALSE(Picture(*view).ColourAt(band, pink));
  Command(DocView::ID_VIEW_SPEED_MODIFIERS);
  EXPECT_TRUE(overlays.Toggles.ShowSpeedModifiers);
  EXPECT_TRUE(Picture(*view).ColourAt(band, pink));
  Command(DocView::ID_VIEW_SPEED_MODIFIERS);
  EXPECT_FALSE(Picture(*view).ColourAt(band, pink));

  // Heights: one item checked; a selected segment is seen from the chosen height.
  Command(DocView::ID_VIEW_HEIGHT_50);
  EXPECT_EQ(CheckMark(DocView::ID_VIEW_HEIGHT_50), true);
  EXPECT_EQ(CheckMark(DocView::ID_VIEW_HEIGHT_100), false);
  DocView::UpdateAllViewsHint(Doc, nullptr, DocView::MakeSegmentHint(2));
  Picture{*view};
  EXPECT_EQ(overlays.GetCameraSetting().EyeHeight, 50.0);
  DocView::UpdateAllViewsHint(Doc, nullptr, DocView::WholeTrackHint);
  Picture{*view};
  EXPECT_GT(overlays.GetCameraSetting().EyeHeight, 100.0);

  // Edits in an LP reach the view with Refresh (F5).
  const U32 record = lp->GetRecordCount() / 3;
  const double latitude = lp->GetRecordLatitude(record);
  const auto before = track.GetPosition(lp->GetRecordLongitude(record), latitude);
  EXPECT_TRUE(Picture(*view).LineNear(before, {255, 0, 0}));
  for (U32 i = 0; i < lp->GetRecordCount(); ++i)
    race->SetRecordLatitude(static_cast<int>(i), lp->GetRecordLatitude(i) + 4.0);
  Command(DocView::ID_VIEW_REFRESH);
  const Picture refreshed(*view);
  EXPECT_FALSE(refreshed.LineNear(before, {255, 0, 0}));
  EXPECT_TRUE(refreshed.LineNear(
      track.GetPosition(lp->GetRecordLongitude(record), latitude + 4.0), {255, 0, 0}));
  EXPECT_TRUE(EditorMessages().Shown.empty()) << EditorMessages().Joined();
}

} // namespace
} // namespace Ostra::Test
