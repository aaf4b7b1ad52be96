// The track 3D view on Mesa's software renderer, offscreen at 1024 x 768: a frame with
// both display lists replayed, a frame that rebuilds the overlays (a document update),
// and the track list's first compile. Tracks: the editor's GPL sample oval and a
// 2,000-segment GPL track, each with five LPs of one record every 3.5 m; laps of real
// size: 7 km in 3,000 segments with five LPs of 2,300 records, and 25 km in 2,000
// segments with one LP of 8,300 records. A case whose paint reports an error (a GL
// error among them) fails instead of timing the error's path. The heap policy is the
// editor's: it decides whether Mesa's scratch memory faults in again at every frame.
#include <memory>
#include <string>
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
#include "Util/HeapPolicy.h"
#include "Util/MemoryStream.h"
#include "Velmar/Core/SampleFolders.h"

namespace {

using namespace Ostra;
using DocView::Trk3DOverlayRenderer;
using Test::GplTrkBuilder;
using Test::MemoryLp;

// As the editor's main does, before any benchmark runs.
const bool HeapPolicyApplied = [] {
  Ostra::Util::ApplyHeapPolicy();
  return true;
}();

constexpr int Width = 1024;
constexpr int Height = 768;

CountedPtr<Papy::Track> TrackOf(const GplTrkBuilder& builder) {
  const CountedPtr<Papy::TrkFile> file(new Papy::GPLTrkFile(CountedPtr<Util::BinaryStream>(
      new Util::MemoryStream("bench.trk", builder.Bytes()))));
  return CountedPtr<Papy::Track>(new Papy::TrkTrack(file));
}

// Alternating curves and straights of the given lengths (track units) turning once round.
CountedPtr<Papy::Track> Lap(int segments, S32 curve_length, S32 straight_length) {
  std::vector<GplTrkBuilder::Shape> shapes;
  for (int i = 0; i < segments / 2; ++i) {
    shapes.push_back({true, curve_length, static_cast<S32>(2147483648.0 / (segments / 2))});
    shapes.push_back({false, straight_length, 0});
  }
  const std::vector<S32> altitudes(shapes.size(), 0);
  return TrackOf(GplTrkBuilder::Loop(shapes, {-300000, -100000, 0, 100000, 300000}, altitudes));
}

// Track units of 5.08e-5 m per segment for a lap of the given length.
S32 UnitsPerSegment(int segments, double metres) {
  return static_cast<S32>(metres / segments / 5.08e-5);
}

// 2,000 sections, about 3.6 km.
CountedPtr<Papy::Track> LargeTrack() { return Lap(2000, 40000, 30000); }
CountedPtr<Papy::Track> SevenKmLap() {
  return Lap(3000, UnitsPerSegment(3000, 7000.0), UnitsPerSegment(3000, 7000.0));
}
CountedPtr<Papy::Track> TwentyFiveKmLap() {
  return Lap(2000, UnitsPerSegment(2000, 25000.0), UnitsPerSegment(2000, 25000.0));
}

// The GPL sample the editor ships with, read as the editor reads it.
CountedPtr<Papy::Track> SampleTrack() {
  static const Test::TempDir folder;
  Papy::RegisterGameRecognizers();
  return DocView::OpenTrackThroughRegistry(Velmar::WriteSampleFolders(folder.Path()).GplTrack,
                                           Papy::FileFactoryRegistry::Instance())
      .Track;
}

// Lines weaving across the track, with flags for the markers to find; records 0 gives
// one every 3.5 m.
std::vector<DocView::LinkedLp> Lps(const Papy::Track& track, int lp_count, U32 records) {
  const char* names[] = {"race", "minrace", "maxrace", "pit0", "pass1"};
  const U32 count = records != 0 ? records : static_cast<U32>(track.GetLength2D() / 3.5);
  std::vector<DocView::LinkedLp> lps;
  for (int k = 0; k < lp_count; ++k) {
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

// A track with its lines: lp_count LPs of records each (0: one every 3.5 m).
struct Load {
  CountedPtr<Papy::Track> (*Make)();
  int LpCount = 5;
  U32 Records = 0;
};

struct Scene {
  Scene(const CountedPtr<Papy::Track>& track, const Load& load, bool all_toggles)
      : Renderer(OpenGL::RealGl()) {
    Renderer.SetTrack(track);
    Renderer.SetLinkedLps(Lps(*track, load.LpCount, load.Records));
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

  // Paints; false, with the case failed, when the paint reported anything.
  bool Paint(benchmark::State& state) {
    Renderer.Paint();
    const std::vector<std::string> messages = Renderer.TakeMessages();
    if (messages.empty())
      return true;
    state.SkipWithError(messages.front().c_str());
    return false;
  }

  Test::OffscreenGl Context{Width, Height};
  Trk3DOverlayRenderer Renderer;
};

// A repaint with nothing changed: both lists replayed, glFinish included.
void Frame(benchmark::State& state, Load load, bool all_toggles) {
  Scene scene(load.Make(), load, all_toggles);
  if (!scene.Usable()) {
    state.SkipWithError("no offscreen OpenGL");
    return;
  }
  if (!scene.Paint(state))
    return;
  for (auto _ : state) {
    if (!scene.Paint(state))
      break;
  }
}

// A document update (an LP linked, a tree click) and the repaint that rebuilds the
// overlays.
void OverlayRebuild(benchmark::State& state, Load load, bool all_toggles) {
  Scene scene(load.Make(), load, all_toggles);
  if (!scene.Usable()) {
    state.SkipWithError("no offscreen OpenGL");
    return;
  }
  if (!scene.Paint(state))
    return;
  for (auto _ : state) {
    scene.Renderer.OnUpdate(DocView::NoItemHint);
    if (!scene.Paint(state))
      break;
  }
}

// The first paint of a new view: the track's list compiled, then everything drawn.
void FirstPaint(benchmark::State& state, Load load) {
  const CountedPtr<Papy::Track> track = load.Make();
  for (auto _ : state) {
    Scene scene(track, load, false);
    if (!scene.Usable()) {
      state.SkipWithError("no offscreen OpenGL");
      return;
    }
    if (!scene.Paint(state))
      break;
  }
}

const Load Sample{SampleTrack};
const Load Large{LargeTrack};
const Load SevenKm{SevenKmLap, 5, 2300};
const Load TwentyFiveKm{TwentyFiveKmLap, 1, 8300};

BENCHMARK_CAPTURE(Frame, SampleTrack, Sample, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Frame, LargeTrack, Large, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Frame, LargeTrackAllOverlays, Large, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Frame, SevenKmLap, SevenKm, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Frame, SevenKmLapAllOverlays, SevenKm, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Frame, TwentyFiveKmLap, TwentyFiveKm, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OverlayRebuild, SampleTrack, Sample, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OverlayRebuild, LargeTrack, Large, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OverlayRebuild, LargeTrackAllOverlays, Large, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FirstPaint, LargeTrack, Large)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FirstPaint, SevenKmLap, SevenKm)->Unit(benchmark::kMillisecond);

} // namespace
