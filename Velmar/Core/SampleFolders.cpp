#include "Velmar/Core/SampleFolders.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <map>
#include <numbers>

#include "Papy/Lp/GPLLpFile.h"
#include "Papy/Lp/ICR2LpFile.h"
#include "Papy/Lp/LpFile.h"
#include "Papy/Lp/N4LpFile.h"
#include "Papy/N4/N4ArchiverRegistry.h"
#include "Papy/N4/N4TdoFile.h"
#include "Papy/Ptf/PtfTrack.h"
#include "Papy/Track/GPLTrkFile.h"
#include "Papy/Track/ICR2TrkFile.h"
#include "Papy/Track/TrkTrack.h"
#include "Util/BinaryStream.h"
#include "Util/MemoryStream.h"
#include "Util/SafeSave.h"

namespace Ostra::Velmar {

using Util::CountedPtr;
using Util::S32;
using Util::U32;

namespace {

constexpr double Pi = std::numbers::pi;
// TRK files keep distances in units of 5.08e-5 m and angles in 2^32 parts of a turn.
constexpr double TrkUnitsPerMetre = 1.0 / 5.08e-5;
constexpr double Fixed30 = 1073741824.0;

S32 Units(double metres) { return static_cast<S32>(std::llround(metres * TrkUnitsPerMetre)); }
S32 Round(double value) { return static_cast<S32>(std::llround(value)); }

// Little-endian bytes of a file image.
class Bytes {
public:
  Bytes& U8(std::uint8_t v) {
    Data.push_back(v);
    return *this;
  }
  Bytes& U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
      Data.push_back(static_cast<unsigned char>(v >> (8 * i)));
    return *this;
  }
  Bytes& S32(std::int32_t v) { return U32(static_cast<std::uint32_t>(v)); }
  Bytes& F32(float v) { return U32(std::bit_cast<std::uint32_t>(v)); }
  Bytes& F64(double v) {
    const auto bits = std::bit_cast<std::uint64_t>(v);
    U32(static_cast<std::uint32_t>(bits));
    return U32(static_cast<std::uint32_t>(bits >> 32));
  }
  Bytes& Text(const std::string& text) {
    Data.insert(Data.end(), text.begin(), text.end());
    Data.push_back(0);
    return *this;
  }
  std::vector<unsigned char> Data;
};

CountedPtr<Util::BinaryStream> Stream(const std::string& name, std::vector<unsigned char> bytes) {
  return CountedPtr<Util::BinaryStream>(new Util::MemoryStream(name, std::move(bytes)));
}

void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  Util::SaveFileSafely(path, [&](Util::BinaryStream& out) {
    if (!bytes.empty())
      out.Write(static_cast<U32>(bytes.size()), bytes.data());
  });
}

// Writes a model through its own writer into memory, then to disk.
template <class Model> void WriteModel(const std::string& path, const Model& model) {
  auto* memory = new Util::MemoryStream(path);
  const CountedPtr<Util::BinaryStream> stream(memory);
  model.Write(stream);
  WriteBytes(path, memory->Bytes());
}

void WriteText(const std::string& path, const std::string& text) {
  WriteBytes(path, std::vector<unsigned char>(text.begin(), text.end()));
}

// A racing line that weaves gently across the track twice a lap.
void FillRacingLine(Papy::LpFile& lp, double lapLength, double speed) {
  for (U32 i = 0; i < lp.GetRecordCount(); ++i) {
    const double phase = 4.0 * Pi * lp.GetRecordLongitude(i) / lapLength;
    lp.SetRecordLatitude(i, 3.0 * std::sin(phase));
    lp.SetRecordLongitudinalSpeed(i, speed + 5.0 * std::cos(phase));
    lp.SetRecordLateralSpeed(i, 0.0);
  }
}

// ---- The GPL oval -----------------------------------------------------------------

// The pit straight, a half turn, the back straight and a half turn, anticlockwise.
constexpr S32 StraightLength = 4000000; // 203 m
constexpr S32 TurnLength = 5000000;     // 254 m, a radius of 81 m
constexpr S32 HalfTurnHalfAngle = 1 << 30;
const std::vector<double> GplLaterals = {-21.0, 0.0, 12.5};

struct GplSurface {
  double Latitude;
  U32 Type; // surface code, or 0x800 | wall code
  double Height;
};

std::vector<GplSurface> GplSurfaces(bool pitStraight) {
  constexpr U32 wall = 0x800;
  std::vector<GplSurface> records;
  records.push_back({-21.0, wall | 1, 1.0}); // concrete
  if (pitStraight) {
    records.push_back({-20.5, 1, 0.0});       // the pit lane's asphalt
    records.push_back({-13.0, wall | 2, 1.0}); // armco between the pit lane and the track
    records.push_back({-12.5, 4, 0.0});
  } else {
    records.push_back({-20.5, 4, 0.0}); // grass
  }
  records.push_back({-6.0, 1, 0.0}); // the track
  records.push_back({6.0, 4, 0.0});
  records.push_back({12.0, wall | 2, 1.0}); // armco
  records.push_back({12.5, 10, 0.0});       // the left edge
  return records;
}

std::vector<unsigned char> GplOvalImage() {
  struct Shape {
    bool Curve;
    S32 Length;
  };
  const Shape shapes[] = {{false, StraightLength}, {true, TurnLength}, {false, StraightLength}, {true, TurnLength}};
  const auto n = static_cast<U32>(std::size(shapes));
  const auto lateral_count = static_cast<U32>(GplLaterals.size());

  Bytes pieces, surfaces, sections;
  U32 surface_count = 0;
  double px = 0.0, py = 0.0;
  S32 heading = 0;
  S32 start = 0;
  for (U32 s = 0; s < n; ++s) {
    const Shape& shape = shapes[s];
    const double h = heading * (2.0 * Pi / 4294967296.0);
    const double lx = -std::sin(h), ly = std::cos(h);
    const double radius = shape.Curve ? shape.Length / (2.0 * Pi / 2.0) : 0.0;
    const double cx = px + radius * lx, cy = py + radius * ly;
    const std::vector<GplSurface> records = GplSurfaces(s == 0);

    sections.S32(shape.Curve ? 2 : 1).S32(start).S32(shape.Length).S32(heading).U32(0);
    if (shape.Curve)
      sections.S32(Round(cx)).S32(Round(cy)).S32(HalfTurnHalfAngle).S32(0).S32(Round(radius));
    else
      sections.S32(Round(std::cos(h) * Fixed30)).S32(Round(std::sin(h) * Fixed30)).S32(Round(lx * Fixed30))
          .S32(Round(ly * Fixed30)).S32(0);
    sections.U32(s * lateral_count).U32(static_cast<U32>(records.size())).U32(surface_count);

    for (const double lateral : GplLaterals) {
      // A level track: d, c, b, a, 3d, 2c all 0.
      pieces.S32(0).S32(0).S32(0).S32(0).S32(0).S32(0);
      if (shape.Curve)
        pieces.S32(Round(radius) - Units(lateral)).S32(0);
      else
        pieces.S32(Round(px + Units(lateral) * lx)).S32(Round(py + Units(lateral) * ly));
    }
    for (const GplSurface& record : records) {
      const S32 latitude = Units(record.Latitude);
      surfaces.S32(latitude).S32(latitude).U32(record.Type).S32(0).S32(Units(record.Height)).S32(0).U32(0).U32(0);
    }
    surface_count += static_cast<U32>(records.size());

    if (shape.Curve) {
      heading = static_cast<S32>(static_cast<U32>(heading) + 2u * static_cast<U32>(HalfTurnHalfAngle));
      const double h2 = heading * (2.0 * Pi / 4294967296.0);
      px = cx + radius * std::sin(h2);
      py = cy - radius * std::cos(h2);
    } else {
      px += shape.Length * std::cos(h);
      py += shape.Length * std::sin(h);
    }
    start += shape.Length;
  }

  Bytes image;
  image.U32(0x5452414B).S32(3000).S32(start).U32(lateral_count).U32(n).U32(32 * surface_count).U32(52 * n);
  for (U32 j = 0; j < 16; ++j)
    image.S32(j < lateral_count ? Units(GplLaterals[j]) : 0);
  for (U32 s = 0; s < n; ++s)
    image.U32(52 * s);
  for (const Bytes* block : {&pieces, &surfaces, &sections})
    image.Data.insert(image.Data.end(), block->Data.begin(), block->Data.end());
  return image.Data;
}

const SamplePitLane GplPitLane{20.0, 180.0, -20.5, -13.0};

std::string TrackIni(const std::string& name, const SamplePitLane& lane) {
  // Numbers in the classic form whatever the user's locale: printf would follow LC_NUMERIC.
  const auto number = [](double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 1);
    return std::string(text, result.ptr);
  };
  return "[ track ]\r\n"
         "track_name = " + name + "\r\n"
         "\r\n"
         "[ pit_lane_0 ]\r\n"
         "lane_bounds_dlong = " + number(lane.From) + " " + number(lane.To) + "\r\n"
         "lane_bounds_dlat = " + number(lane.RightLatitude) + " " + number(lane.LeftLatitude) + "\r\n"
         "lane_on_right = 1\r\n"
         "\r\n"
         "[ starting_grid_0 ]\r\n"
         "stall_0 = 50.0 0.0\r\n";
}

// ---- The N4 track -----------------------------------------------------------------

// An N4 object archive, written object by object; object and class ids share one
// counter in the order of first appearance, as the archive reader numbers them.
class PtfImage {
public:
  U32 Begin(const std::string& descriptor) {
    const U32 id = ++Counter;
    Out.U32(id);
    if (const auto known = Classes.find(descriptor); known != Classes.end()) {
      Out.U32(known->second);
    } else {
      const U32 class_id = ++Counter;
      Classes[descriptor] = class_id;
      Out.U32(class_id).U32(static_cast<U32>(descriptor.size() + 1)).Text(descriptor);
    }
    Out.U32(1).U32(0); // the two reserved words every body starts with
    return id;
  }
  Bytes Out;

private:
  U32 Counter = 0;
  std::map<std::string, U32> Classes;
};

struct N4Line {
  double Latitude;
  U32 Code;
};

struct N4SegmentPlan {
  double X0, Y0, H0, X1, Y1, H1;
  bool Arc;
  bool Pit;
};

constexpr double N4Straight = 150.0;
constexpr double N4Radius = 60.0;
const SamplePitLane N4PitLane{10.0, 140.0, -24.0, -16.0};

void WriteN4Segment(PtfImage& ptf, const N4SegmentPlan& plan) {
  ptf.Begin("SegmentDescriptor");
  ptf.Out.U32(1); // version
  // Cross-section lines, level, at the outer walls.
  ptf.Out.U32(2).U32(8);
  for (const double latitude : {-25.0, 13.0}) {
    ptf.Begin("X_SectionDescriptor");
    ptf.Out.U32(2).F64(latitude).F64(0.0).F64(0.0).F64(latitude).F64(0.0).F64(0.0).U8(0);
  }
  // Strip boundaries, right to left; each strip takes the code of its right line.
  const std::vector<N4Line> lines = {
      {-24.0, plan.Pit ? 1u : 4u}, {-16.0, 4}, {-6.0, 1}, {6.0, 4}, {12.0, 4}};
  ptf.Out.U32(static_cast<U32>(lines.size())).U32(static_cast<U32>(4 * lines.size()));
  for (const N4Line& line : lines) {
    ptf.Begin("F_SectionDescriptor");
    ptf.Out.U32(4).F64(line.Latitude).F64(line.Latitude).U8(0).U32(0).U32(line.Code).U32(0);
  }
  // Walls: concrete on the right, tyres on the left.
  ptf.Out.U32(2).U32(8);
  for (const auto& [latitude, code] : {std::pair{-25.0, 2049u}, std::pair{13.0, 2051u}}) {
    ptf.Begin("W_SectionDescriptor");
    ptf.Out.U32(5).F64(latitude).F64(latitude).U8(0).U32(0);
    ptf.Out.F64(1.0).F64(1.0).F64(0.5).F64(0.5).F64(0.0).F64(0.0).U32(0);
    ptf.Out.U32(code).U32(1).U32(0).U32(0);
    for (int cell = 0; cell < 5; ++cell)
      ptf.Out.U32(0); // no appearance
  }
  ptf.Out.U32(plan.Arc ? 1 : 0);
  ptf.Out.F64(plan.X0).F64(plan.Y0).F64(plan.H0).F64(plan.X1).F64(plan.Y1).F64(plan.H1);
  ptf.Out.U8(0).U8(0);
}

std::vector<unsigned char> N4TrackImage() {
  const double s = N4Straight, r = N4Radius;
  const N4SegmentPlan plans[] = {
      {0, 0, 0, s, 0, 0, false, true},
      {s, 0, 0, s + r, r, Pi / 2, true, false},
      {s + r, r, Pi / 2, s + r, r + s, Pi / 2, false, false},
      {s + r, r + s, Pi / 2, s, 2 * r + s, Pi, true, false},
      {s, 2 * r + s, Pi, 0, 2 * r + s, Pi, false, false},
      {0, 2 * r + s, Pi, -r, r + s, 3 * Pi / 2, true, false},
      {-r, r + s, 3 * Pi / 2, -r, r, 3 * Pi / 2, false, false},
      {-r, r, 3 * Pi / 2, 0, 0, 0, true, false},
  };
  PtfImage ptf;
  ptf.Begin("TrackDescriptor");
  ptf.Out.U32(8).U32(static_cast<U32>(std::size(plans))).U8(0);
  ptf.Out.F64(0.0).F64(0.0).F64(0.0).F32(0.0f).U32(0); // vector, value, no bump maps
  ptf.Out.U32(0);
  ptf.Out.U32(0); // no details
  ptf.Out.U32(0); // no trackside objects
  ptf.Out.U32(static_cast<U32>(4 * std::size(plans)));
  for (const N4SegmentPlan& plan : plans)
    WriteN4Segment(ptf, plan);
  return ptf.Out.Data;
}

} // namespace

SampleFolders GetSampleFolders(const std::string& root) {
  std::string base = root;
  if (base.empty() || base.back() != '/')
    base += '/';
  SampleFolders folders;
  folders.Gpl = base + "gpl/";
  folders.N2 = base + "n2/";
  folders.N4 = base + "n4/";
  folders.GplTrack = folders.Gpl + "gpl.trk";
  folders.N2Track = folders.N2 + "n2.trk";
  folders.N4Track = folders.N4 + "n4.ptf";
  return folders;
}

SamplePitLane GetGplSamplePitLane() { return GplPitLane; }
SamplePitLane GetN4SamplePitLane() { return N4PitLane; }

SampleFolders WriteSampleFolders(const std::string& root) {
  const SampleFolders folders = GetSampleFolders(root);
  for (const std::string* folder : {&folders.Gpl, &folders.N2, &folders.N4})
    std::filesystem::create_directories(*folder);

  // GPL: the reader checks the built image before the writer puts it on disk.
  const CountedPtr<Papy::TrkFile> gpl(new Papy::GPLTrkFile(Stream(folders.GplTrack, GplOvalImage())));
  WriteModel(folders.GplTrack, *gpl);
  const Papy::TrkTrack gpl_track(gpl);
  Papy::GPLLpFile gpl_race(gpl, 0.0);
  FillRacingLine(gpl_race, gpl_track.GetLength3D(), 45.0);
  WriteModel(folders.Gpl + "race.lp", gpl_race);
  WriteText(folders.Gpl + "track.ini", TrackIni("GPL Sample Oval", GplPitLane));

  // N2: the same oval converted to the ICR2 format.
  const CountedPtr<Papy::TrkFile> n2(new Papy::ICR2TrkFile(gpl));
  WriteModel(folders.N2Track, *n2);
  const Papy::TrkTrack n2_track(n2);
  Papy::ICR2LpFile n2_race(n2, 0.0);
  FillRacingLine(n2_race, n2_track.GetLength3D(), 45.0);
  WriteModel(folders.N2 + "race.lp", n2_race);
  WriteText(folders.N2 + "track.ini", TrackIni("N2 Sample Oval", GplPitLane));

  // N4: the archive is read, saved by the archive writer, and its track presented.
  const CountedPtr<Papy::N4TdoFile> ptf(new Papy::N4TdoFile(
      Stream(folders.N4Track, N4TrackImage()), Papy::N4ArchiverRegistry::Instance().GetReadable(), nullptr));
  Util::MemoryStream saved(folders.N4Track);
  ptf->Save(saved);
  WriteBytes(folders.N4Track, saved.Bytes());
  const CountedPtr<Papy::Track> n4_track(new Papy::PtfTrack(CountedPtr<Papy::TdoFile>(ptf), "n4.ptf"));
  for (const auto& [name, speed] : {std::pair{"race.lp", 40.0}, std::pair{"raceline.lp", 38.0}}) {
    Papy::N4LpFile lp(n4_track, 0.0);
    FillRacingLine(lp, n4_track->GetLength3D(), speed);
    WriteModel(folders.N4 + name, lp);
  }
  WriteText(folders.N4 + "track.ini", TrackIni("N4 Sample Track", N4PitLane));
  return folders;
}

} // namespace Ostra::Velmar
