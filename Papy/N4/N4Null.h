#pragma once

#include "Papy/N4/ThreeDObjectNull.h"

namespace Ostra::Papy {

// The null object of an N4TdoFile: no position, no name, written as the id 0.
class N4Null final : public ThreeDObjectNull {
public:
  explicit N4Null(U32 id) : Id(id) {}

  U32 GetId() const override { return Id; }
  S64 GetArchivePosition() const override { return -1; }
  std::string GetTypeName() const override { return {}; }
  void Write(Util::BinaryStream& stream, int reserved) override;
  void Hook() override {}

private:
  U32 Id;
};

} // namespace Ostra::Papy
