// The track 3D view on Mesa's software renderer, offscreen at 1024 x 768: a frame with
// both display lists replayed, a frame that rebuilds the overlays (a document update),
// and the track list's first compile. Tracks: the editor's GPL sample oval and a
// 2,000-segment GPL track, each with five LPs of one record every 3.5 m.
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include "DocView/Core/CommandIds.h"
#include "DocView/Core/TrackOpening.h"
#include "DocView/GL/GlApi.h"
#include "DocView/GL/Trk3DOverlayRenderer.h"
#include "DocView/GLSupport/OffscreenGl.h"
#include "DocView/GLSupport/SyntheticTrack.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "Papy/Track/GPLTrkFile.h"
#include "Papy/Track/TrkTrack.h"
#include "TestSupport/GplTrkBuilder.h"
#include "TestSupport/TempDir.h"
#include "Util/MemoryStream.h"
#include "Velmar/Core/SampleFolders.h"

namespace {

using namespace Ostra;
using DocView::Trk3DOverlayRenderer;
using Test::GplTrkBuilder;
using Test::MemoryLp;

constexpr int Width = 1024;
constexpr int Height = 768;

CountedPtr<Papy::Track> TrackOf(const GplTrkBuilder& builder) {
  const CountedPtr<Papy::TrkFile> file(new Papy::GPLTrkFile(CountedPtr<Util::BinaryStream>(
      new Util::MemoryStream("bench.trk", builder.Bytes()))));
  return CountedPtr<Papy::Track>(new Papy::TrkTrack(file));
}

// Alternating curves and straights turning once round: 2,000 sections, about 3.6 km.
CountedPtr<Papy::Track> LargeTrack() {
  constexpr int segments = 2000;
  std::vector<GplTrkBuilder::Shape> shapes;
  for (int i = 0; i < segments / 2; ++i) {
    shapes.push_back({true, 40000, static_cast<S32>(2147483648.0 / (segments / 2))});
    shapes.push_back({false, 30000, 0});
  }
  const std::vector<S32> altitudes(shapes.size(), 0);
  return TrackOf(GplTrkBuilder::Loop(shapes, {-300000, -100000, 0, 100000, 300000}, altitudes));
}

// The GPL sample the editor ships with, read as the editor reads it.
CountedPtr<Papy::Track> SampleTrack() {
  static const Test::TempDir folder;
  Papy::RegisterGameRecognizers();
  return DocView::OpenTrackThroughRegistry(Velmar::WriteSampleFolders(folder.Path()).GplTrack,
                                           Papy::FileFactoryRegistry::Instance())
      .Track;
}

// Five lines weaving across the track, with flags for the markers to find.
std::vector<DocView::LinkedLp> FiveLps(const Papy::Track& track) {
  const char* names[] = {"race", "minrace", "maxrace", "pit0", "pass1"};
  const double spacing = 3.5;
  const U32 count = static_cast<U32>(track.GetLength2D() / spacing);
  std::vector<DocView::LinkedLp> lps;
  for (int k = 0; k < 5; ++k) {
    Util::CountedPtr<MemoryLp> lp(new MemoryLp(count, track.GetLength2D() / count));
    for (U32 i = 0; i < count; ++i) {
      MemoryLp::Record& r = lp->Records[i];
      r.Latitude = (k - 2) * 1.5 + 2.0 * std::sin(i * 0.05);
      r.LongitudinalSpeed = 40.0 + 20.0 * std::cos(i * 0.01);
      r.LateralSpeed = std::sin(i * 0.2);
      r.YawSpeed = 0.1 * std::cos(i * 0.1);
      r.Flags = i % 50 == 0 ? MemoryLp::OutbrakeDecisionPoint | MemoryLp::ControlPoint : 0;
    }
    lps.push_back({std::string("/bench/") + names[k] + ".lp", lp});
  }
  return lps;
}

struct Scene {
  explicit Scene(const CountedPtr<Papy::Track>& track, bool all_toggles)
      : Renderer(OpenGL::RealGl()) {
    Renderer.SetTrack(track);
    Renderer.SetLinkedLps(FiveLps(*track));
    if (all_toggles) {
      for (int id = DocView::ID_VIEW_PASS_CHECKPOINT_ZONES; id <= DocView::ID_VIEW_SPEED_MODIFIERS; ++id)
        Renderer.ExecuteCommand(id);
      for (int id : {DocView::ID_VIEW_LATERAL_SPEED, DocView::ID_VIEW_YAW_SPEED,
                     DocView::ID_VIEW_LONGITUDINAL_SPEED, DocView::ID_VIEW_CONTROL_POINTS,
                     DocView::ID_VIEW_CENTRELINE, DocView::ID_VIEW_SCALE})
        Renderer.ExecuteCommand(id);
    }
    Renderer.AttachContext(&Context);
    Renderer.Resize(Width, Height);
  }
  ~Scene() { Renderer.ReleaseContext(); }

  bool Usable() const { return Context.Usable(); }

  Test::OffscreenGl Context{Width, Height};
  Trk3DOverlayRenderer Renderer;
};

// A repaint with nothing changed: both lists replayed, glFinish included.
void Frame(benchmark::State& state, CountedPtr<Papy::Track> (*make)(), bool all_toggles) {
  Scene scene(make(), all_toggles);
  if (!scene.Usable()) {
    state.SkipWithError("no offscreen OpenGL");
    return;
  }
  scene.Renderer.Paint();
  for (auto _ : state)
    scene.Renderer.Paint();
}

// A document update (an LP linked, a tree click) and the repaint that rebuilds the
// overlays.
void OverlayRebuild(benchmark::State& state, CountedPtr<Papy::Track> (*make)(),
                    bool all_toggles) {
  Scene scene(make(), all_toggles);
  if (!scene.Usable()) {
    state.SkipWithError("no offscreen OpenGL");
    return;
  }
  scene.Renderer.Paint();
  for (auto _ : state) {
    scene.Renderer.OnUpdate(DocView::NoItemHint);
    scene.Renderer.Paint();
  }
}

// The first paint of a new view: the track's list compiled, then everything drawn.
void FirstPaint(benchmark::State& state, CountedPtr<Papy::Track> (*make)()) {
  const CountedPtr<Papy::Track> track = make();
  for (auto _ : state) {
    Scene scene(track, false);
    if (!scene.Usable()) {
      state.SkipWithError("no offscreen OpenGL");
      return;
    }
    scene.Renderer.Paint();
  }
}

BENCHMARK_CAPTURE(Frame, SampleTrack, SampleTrack, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Frame, LargeTrack, LargeTrack, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Frame, LargeTrackAllOverlays, LargeTrack, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OverlayRebuild, SampleTrack, SampleTrack, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OverlayRebuild, LargeTrack, LargeTrack, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OverlayRebuild, LargeTrackAllOverlays, LargeTrack, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FirstPaint, LargeTrack, LargeTrack)->Unit(benchmark::kMillisecond);

} // namespace
