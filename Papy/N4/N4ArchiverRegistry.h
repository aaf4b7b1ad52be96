#pragma once

#include "Papy/N4/N4Archiver.h"

namespace Ostra::Papy {

enum class N4ArchiverUse {
  // Archives holding the kind can be read and written.
  ReadWrite,
  // The kind can be written, but an archive holding it fails to read with
  // "N4 archive unknown descriptor <name>".
  WriteOnly,
};

// The archivers of every object kind. The process-wide registry is built on first use
// by RegisterN4Archivers and never freed; tests may build their own.
class N4ArchiverRegistry {
public:
  static const N4ArchiverRegistry& Instance();

  void Register(const N4ArchivedType<N4TdoFile>& archiver, N4ArchiverUse use);

  // Every registered archiver, in registration order.
  const N4ArchiverList& GetAll() const { return All; }
  // The archivers that resolve descriptor names when reading, in registration order.
  // N4TdoFile's reading constructor takes this list.
  const N4ArchiverList& GetReadable() const { return Readable; }

private:
  N4ArchiverList All;
  N4ArchiverList Readable;
};

// Registers the archiver of every object kind, in their fixed order.
void RegisterN4Archivers(N4ArchiverRegistry& registry);

} // namespace Ostra::Papy
