#pragma once

#include <string>
#include <utility>
#include <vector>

#include "Util/Types.h"

namespace Ostra::Test {

using Bytes = std::vector<unsigned char>;

// Little-endian words, as the recognisers read them.
Bytes Words(const std::vector<Util::U32>& words);
// Bytes of a text, without terminator.
Bytes Text(const std::string& text);

// An ICR2-format archive image holding the sub-files in the order given.
Bytes DatImage(const std::vector<std::pair<std::string, Bytes>>& subFiles);

// Header words of the files the recognisers look at.
Bytes GplTrkHeader();
Bytes Icr2TrkHeader();
Bytes Gpl3do();
Bytes N23do();

} // namespace Ostra::Test
