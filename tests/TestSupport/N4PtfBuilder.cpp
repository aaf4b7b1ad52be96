#include "TestSupport/N4PtfBuilder.h"

#include <cmath>
#include <memory>
#include <numbers>
#include <stdexcept>

namespace Ostra::Test {

using Util::U32;

namespace {
constexpr U32 Reserved0 = 1;
constexpr U32 Reserved1 = 0;

void Ref(N4PtfBuilder& builder, const N4Ref& ref) {
  if (ref)
    ref(builder);
  else
    builder.Reference(0);
}

void RefArray(N4PtfBuilder& builder, const std::vector<N4Ref>& refs, bool size_when_empty) {
  const auto count = static_cast<U32>(refs.size());
  if (!size_when_empty)
    builder.Image().U32(count);
  if (count != 0 || size_when_empty)
    builder.Image().U32(count * 4);
  for (const N4Ref& ref : refs)
    Ref(builder, ref);
}
} // namespace

N4Ref Existing(U32 id) {
  return [id](N4PtfBuilder& builder) {
    builder.Reference(id);
    return id;
  };
}

N4Ref Shared(N4Ref make) {
  auto written = std::make_shared<U32>(0);
  return [make = std::move(make), written](N4PtfBuilder& builder) {
    if (*written != 0) {
      builder.Reference(*written);
      return *written;
    }
    *written = make(builder);
    return *written;
  };
}

U32 N4PtfBuilder::BeginObject(const std::string& descriptor) {
  const U32 id = ++Counter;
  Bytes.U32(id);
  const auto known = Classes.find(descriptor);
  if (known != Classes.end()) {
    Bytes.U32(known->second);
  } else {
    const U32 class_id = ++Counter;
    Classes[descriptor] = class_id;
    Bytes.U32(class_id).U32(static_cast<U32>(descriptor.size() + 1)).Fixed(descriptor, descriptor.size() + 1);
  }
  Bodies[id] = Bytes.Size();
  return id;
}

N4PtfBuilder& N4PtfBuilder::Reference(U32 id) {
  Bytes.U32(id);
  return *this;
}

N4PtfBuilder& N4PtfBuilder::String(const std::string& text) {
  if (text.empty()) {
    Bytes.U32(0);
    return *this;
  }
  Bytes.U32(static_cast<U32>(text.size() + 1)).Fixed(text, text.size() + 1);
  return *this;
}

std::size_t N4PtfBuilder::BodyOffset(U32 id) const {
  const auto p = Bodies.find(id);
  if (p == Bodies.end())
    throw std::out_of_range("N4PtfBuilder: no object with that id");
  return p->second;
}

U32 N4PtfBuilder::Write(const Texture& plan) {
  const U32 id = BeginObject("TextureDescriptor");
  Bytes.U32(Reserved0).U32(Reserved1).U32(plan.Version);
  String(plan.Name);
  if (plan.Version == 2)
    Bytes.U8(plan.Shared);
  return id;
}

U32 N4PtfBuilder::Write(const Appearance& plan) {
  const U32 id = BeginObject("AppearanceDescriptor");
  Bytes.U32(Reserved0);
  String(plan.Name);
  Bytes.U32(plan.Version);
  for (const N4Ref& texture : plan.Textures)
    Ref(*this, texture);
  for (double c : plan.Colour)
    Bytes.F64(c);
  for (double v : plan.Values)
    Bytes.F64(v);
  Bytes.U32(plan.TextureFunction);
  return id;
}

U32 N4PtfBuilder::Write(const TextureCoords& plan) {
  const U32 id = BeginObject("TextureCoordsDescriptor");
  Bytes.U32(1).U32(0).U32(1).U32(plan.VertexCount).U32(3);
  for (const std::vector<double>* values : {&plan.U, &plan.V}) {
    Bytes.U32(static_cast<U32>(values->size() * 8));
    for (double v : *values)
      Bytes.F64(v);
  }
  for (int channel = 0; channel < 22; ++channel)
    Bytes.U32(0);
  return id;
}

U32 N4PtfBuilder::Write(const XSection& plan) {
  const U32 id = BeginObject("X_SectionDescriptor");
  Bytes.U32(Reserved0).U32(Reserved1).U32(plan.Version);
  if (plan.Version != 3) {
    Bytes.F64(plan.StartLatitude).F64(plan.StartAltitude).F64(plan.StartSlope);
    Bytes.F64(plan.EndLatitude).F64(plan.EndAltitude).F64(plan.EndSlope);
    Bytes.U8(plan.Reserved2);
    return id;
  }
  Bytes.F32(static_cast<float>(plan.StartLatitude)).F64(plan.StartAltitude);
  Bytes.F32(static_cast<float>(plan.StartSlope)).F32(static_cast<float>(plan.EndLatitude));
  Bytes.F64(plan.EndAltitude).F32(static_cast<float>(plan.EndSlope)).U8(plan.Reserved2);
  for (const XEntry& entry : plan.Entries) {
    Bytes.U8(entry.Type);
    if (entry.Type == 1)
      Bytes.U32(entry.Word0).U32(entry.Word1);
    else if (entry.Type == 2)
      Bytes.F32(entry.A).F32(entry.B).U8(entry.C).U8(entry.D);
  }
  return id;
}

void N4PtfBuilder::Layers(const std::vector<Layer>& layers, bool wall) {
  for (const Layer& layer : layers) {
    Bytes.U8(layer.FlagA);
    if (layer.FlagA != 0)
      continue;
    Bytes.U8(layer.FlagB);
    if (wall) {
      Bytes.F64(layer.Value1).F64(layer.Value2).U8(layer.FlagC).F64(layer.Value3).F64(layer.Value4);
    } else {
      Bytes.F64(layer.Value1).U8(layer.FlagC).F64(layer.Value2).F64(layer.Value3).F64(layer.Value4);
      Bytes.F64(layer.Value5);
    }
  }
}

U32 N4PtfBuilder::Write(const FSection& plan) {
  const U32 id = BeginObject("F_SectionDescriptor");
  Bytes.U32(Reserved0).U32(Reserved1).U32(plan.Version);
  if (plan.Version == 4)
    Bytes.F64(plan.StartLatitude).F64(plan.EndLatitude);
  else
    Bytes.F32(static_cast<float>(plan.StartLatitude)).F32(static_cast<float>(plan.EndLatitude));
  Bytes.U8(plan.Flag).U32(plan.SecondaryCode).U32(plan.SurfaceCode);
  Ref(*this, plan.Appearance);
  if (plan.TextureCoords)
    plan.TextureCoords(*this);
  Layers(plan.Layers, false);
  return id;
}

U32 N4PtfBuilder::Write(const WSection& plan) {
  const U32 id = BeginObject("W_SectionDescriptor");
  Bytes.U32(Reserved0).U32(Reserved1).U32(plan.Version);
  if (plan.Version == 5)
    Bytes.F64(plan.StartLatitude).F64(plan.EndLatitude);
  else
    Bytes.F32(static_cast<float>(plan.StartLatitude)).F32(static_cast<float>(plan.EndLatitude));
  Bytes.U8(plan.Flag).U32(plan.Integers[0]);
  Bytes.F64(plan.StartHeight).F64(plan.EndHeight).F64(plan.StartWidth).F64(plan.EndWidth);
  Bytes.F64(plan.StartExtent).F64(plan.EndExtent);
  Bytes.U32(plan.Direction);
  if (plan.Version == 7) {
    Bytes.U32(plan.Profile);
    if (plan.Profile == 1) {
      Bytes.F32(plan.ProfileMarker).U32(plan.ProfilePointCount);
      for (Util::F32 x : plan.ProfileX)
        Bytes.F32(x);
      for (Util::F32 y : plan.ProfileY)
        Bytes.F32(y);
    }
  }
  Bytes.U32(plan.WallCode).U32(static_cast<U32>(plan.Rows.size()));
  Bytes.U32(plan.Integers[1]).U32(plan.Integers[2]);
  for (std::size_t r = 0; r < plan.Rows.size(); ++r) {
    if (r > 0)
      Bytes.F64(plan.Rows[r].Boundary);
    for (const WCell& cell : plan.Rows[r].Cells) {
      Ref(*this, cell.Appearance);
      if (cell.TextureCoords)
        cell.TextureCoords(*this);
      Layers(cell.Layers, true);
    }
  }
  return id;
}

U32 N4PtfBuilder::Write(const TrackSegment& plan) {
  const U32 id = BeginObject("SegmentDescriptor");
  Bytes.U32(Reserved0).U32(Reserved1).U32(plan.Version);
  RefArray(*this, plan.XSections, false);
  RefArray(*this, plan.FSections, false);
  RefArray(*this, plan.WSections, false);
  Bytes.U32(plan.Type);
  Bytes.F64(plan.StartX).F64(plan.StartY).F64(plan.StartOrientation);
  Bytes.F64(plan.EndX).F64(plan.EndY).F64(plan.EndOrientation);
  Bytes.U8(plan.Flags[0]).U8(plan.Flags[1]);
  if (plan.Version != 2)
    return id;
  Bytes.U32(static_cast<U32>(plan.Bm.size()));
  if (!plan.Bm.empty())
    Bytes.U32(static_cast<U32>(plan.Bm.size() * 12));
  for (const BmRecord& bm : plan.Bm)
    Bytes.F32(bm.A).F32(bm.B).U32(bm.C);
  Bytes.U32(static_cast<U32>(plan.Bs.size()));
  if (!plan.Bs.empty())
    Bytes.U32(static_cast<U32>(plan.Bs.size() * 16));
  for (const BsRecord& bs : plan.Bs)
    Bytes.F32(bs.A).F32(bs.B).F32(bs.C).F32(bs.D);
  return id;
}

U32 N4PtfBuilder::Write(const TrackDetail& plan) {
  const U32 id = BeginObject("TrackDetailDescriptor");
  Bytes.U32(Reserved0).U32(Reserved1).U32(0);
  Ref(*this, plan.Object);
  for (double v : plan.Values)
    Bytes.F64(v);
  Bytes.U32(32);
  for (double x : plan.X)
    Bytes.F64(x);
  Bytes.U32(32);
  for (double y : plan.Y)
    Bytes.F64(y);
  return id;
}

U32 N4PtfBuilder::Write(const TsoReference& plan) {
  const U32 id = BeginObject("TSOReferenceDescriptor");
  Bytes.U32(Reserved0).U32(Reserved1).U32(plan.Version);
  for (double v : plan.FileValues)
    Bytes.F64(v);
  Ref(*this, plan.Object);
  if (plan.Version != 6)
    return id;
  Bytes.U32(plan.WindDirection).U8(plan.BlockByte);
  if (plan.BlockByte == 0)
    Bytes.Fixed(plan.BlockName, 32).U32(plan.BlockInteger).F32(plan.BlockValue).U32(plan.BlockMode);
  Bytes.U32(static_cast<U32>(plan.Entries.size()));
  for (const TsoEntry& entry : plan.Entries)
    Bytes.Fixed(entry.Name, 32).U32(entry.Integer).F32(entry.Value);
  String(plan.Label);
  return id;
}

U32 N4PtfBuilder::Write(const TracksideObject& plan) {
  const U32 id = BeginObject("TSODescriptor");
  Bytes.U32(Reserved0).U32(Reserved1).U32(plan.Version);
  String(plan.First);
  String(plan.Second);
  if (plan.Version == 3)
    Bytes.U8(plan.Flag);
  return id;
}

U32 N4PtfBuilder::Write(const Track& plan) {
  const U32 id = BeginObject("TrackDescriptor");
  Bytes.U32(Reserved0).U32(Reserved1).U32(plan.Version);
  Bytes.U32(static_cast<U32>(plan.Segments.size())).U8(plan.Flag);
  if (plan.Version == 6) {
    for (double v : plan.Doubles)
      Bytes.F64(v);
  } else {
    Bytes.F64(plan.Vector[0]).F64(plan.Vector[1]).F64(plan.Vector[2]).F32(plan.FloatValue);
    Bytes.U32(static_cast<U32>(plan.BumpMaps.size()));
    if (!plan.BumpMaps.empty())
      Bytes.U32(static_cast<U32>(plan.BumpMaps.size() * 48));
    for (const BumpMap& bump : plan.BumpMaps) {
      Bytes.Fixed(bump.Name, 16);
      for (Util::F32 v : bump.First)
        Bytes.F32(v);
      for (Util::F32 v : bump.Second)
        Bytes.F32(v);
    }
  }
  Bytes.U32(0);
  RefArray(*this, plan.Details, false);
  RefArray(*this, plan.Tsos, false);
  RefArray(*this, plan.Segments, true);
  return id;
}

N4PtfBuilder N4PtfBuilder::SmallTrack() {
  constexpr double pi = std::numbers::pi;
  const N4Ref asphalt = Shared(Make(Appearance{
      .Name = "asphalt",
      .Textures = {Make(Texture{.Version = 2, .Name = "asphalt.mip", .Shared = 1}), {}, {}, {}, {}, {}, {}},
      .Colour = {0.3, 0.3, 0.3},
  }));
  const N4Ref grass = Shared(Make(Appearance{.Name = "grass", .Colour = {0.1, 0.6, 0.1}}));
  const N4Ref tso = Shared(Make(TracksideObject{.Version = 3, .First = "tree", .Second = "tree.3do", .Flag = 1}));

  struct Ends {
    double X0, Y0, H0, X1, Y1, H1;
  };
  const double s = SmallTrackStraight;
  const double r = SmallTrackRadius;
  const Ends ends[SmallTrackSegments] = {
      {0, 0, 0, s, 0, 0},
      {s, 0, 0, s + r, r, pi / 2},
      {s + r, r, pi / 2, s + r, r + s, pi / 2},
      {s + r, r + s, pi / 2, s, 2 * r + s, pi},
      {s, 2 * r + s, pi, 0, 2 * r + s, pi},
      {0, 2 * r + s, pi, -r, r + s, 3 * pi / 2},
      {-r, r + s, 3 * pi / 2, -r, r, 3 * pi / 2},
      {-r, r, 3 * pi / 2, 0, 0, 0},
  };

  Track track;
  track.Version = 8;
  track.Flag = 1;
  track.Vector = {1.0, 2.0, 3.0};
  track.FloatValue = 0.5f;
  track.BumpMaps = {BumpMap{.Name = "bump", .First = {1, 2, 3, 4}, .Second = {5, 6, 7, 8}}};
  track.Details = {Make(TrackDetail{.Object = tso,
                                    .Values = {1, 2, 3, 4, 5},
                                    .X = {0, 1, 1, 0},
                                    .Y = {0, 0, 1, 1}})};
  track.Tsos = {Make(TsoReference{.Version = 6,
                                   .FileValues = {10, 20, 0, 0, 0, 1},
                                   .Object = tso,
                                   .WindDirection = 1,
                                   .BlockByte = 0,
                                   .BlockName = "block",
                                   .BlockInteger = 3,
                                   .BlockValue = 1.5f,
                                   .BlockMode = 1,
                                   .Entries = {TsoEntry{"sway", 2, 0.25f}},
                                   .Label = "tree 1"})};

  for (int i = 0; i < SmallTrackSegments; ++i) {
    const Ends& e = ends[i];
    const bool odd = i % 2 == 1;
    TrackSegment segment;
    segment.Version = odd ? 2 : 1;
    segment.Type = odd ? 1 : 0;
    segment.StartX = e.X0;
    segment.StartY = e.Y0;
    segment.StartOrientation = e.H0;
    segment.EndX = e.X1;
    segment.EndY = e.Y1;
    segment.EndOrientation = e.H1;
    segment.Flags = {1, 0};
    if (odd) {
      segment.Bm = {BmRecord{1.0f, 2.0f, 7}};
      segment.Bs = {BsRecord{0.5f, 1.0f, 3.0f, 4.0f}};
    }

    const U32 x_version = odd ? 3 : 2;
    segment.XSections = {
        Make(XSection{.Version = x_version, .StartLatitude = -10, .EndLatitude = -10,
                      .StartAltitude = -0.2, .EndAltitude = -0.2}),
        Make(XSection{.Version = x_version, .StartLatitude = 10, .EndLatitude = 10,
                      .Entries = {XEntry{.Type = 2, .A = 1.0f, .B = 2.0f, .C = 3, .D = 4}, XEntry{.Type = 1}}}),
    };

    const U32 f_version = odd ? 5 : 4;
    auto textured_line = [&](double latitude) {
      return Make(FSection{.Version = f_version,
                           .StartLatitude = latitude,
                           .EndLatitude = latitude,
                           .SecondaryCode = 3,
                           .SurfaceCode = 1,
                           .Appearance = asphalt,
                           .TextureCoords = Make(TextureCoords{}),
                           .Layers = {Layer{.Value1 = 1, .Value2 = 2, .Value3 = 3, .Value4 = 4, .Value5 = 5}}});
    };
    auto grass_line = [&](double latitude) {
      return Make(FSection{.Version = f_version,
                           .StartLatitude = latitude,
                           .EndLatitude = latitude,
                           .SurfaceCode = 4,
                           .Appearance = grass});
    };
    segment.FSections = {grass_line(-12), textured_line(-6), grass_line(6), grass_line(12)};

    const U32 w_version = 5 + static_cast<U32>(i % 3);
    WSection right{.Version = w_version, .StartLatitude = -13, .EndLatitude = -13, .WallCode = 2049};
    right.Rows[0].Cells[0] = WCell{.Appearance = asphalt,
                                   .TextureCoords = Make(TextureCoords{}),
                                   .Layers = {Layer{.FlagA = 1}}};
    WSection left{.Version = w_version, .StartLatitude = 13, .EndLatitude = 13, .WallCode = 2051};
    if (w_version == 7) {
      left.Profile = 1;
      left.ProfilePointCount = 2;
      left.ProfileX = {0, 0, 0.25f, 0.5f};
      left.ProfileY = {0, 0, 1.0f, 2.0f};
    }
    left.Rows.push_back(WRow{.Boundary = 0.5});
    left.Rows[1].Cells[2] = WCell{.Appearance = grass};
    segment.WSections = {Make(right), Make(left)};

    track.Segments.push_back(Make(segment));
  }

  N4PtfBuilder builder;
  builder.Write(track);
  return builder;
}

N4PtfBuilder N4PtfBuilder::PlainTrack(const std::vector<SegmentEnds>& segments,
                                      const std::array<U32, 4>& surface_codes) {
  constexpr std::array<double, 4> line_latitudes = {-12, -6, 6, 12};
  Track track;
  for (const SegmentEnds& e : segments) {
    TrackSegment segment;
    segment.Version = 1;
    segment.Type = e.Arc ? 1 : 0;
    segment.StartX = e.StartX;
    segment.StartY = e.StartY;
    segment.StartOrientation = e.StartOrientation;
    segment.EndX = e.EndX;
    segment.EndY = e.EndY;
    segment.EndOrientation = e.EndOrientation;
    segment.XSections = {Make(XSection{.StartLatitude = -10, .EndLatitude = -10}),
                         Make(XSection{.StartLatitude = 10, .EndLatitude = 10})};
    for (std::size_t k = 0; k < line_latitudes.size(); ++k)
      segment.FSections.push_back(Make(FSection{.StartLatitude = line_latitudes[k],
                                                .EndLatitude = line_latitudes[k],
                                                .SurfaceCode = surface_codes[k]}));
    track.Segments.push_back(Make(segment));
  }
  N4PtfBuilder builder;
  builder.Write(track);
  return builder;
}

} // namespace Ostra::Test
