#pragma once

#include <cstddef>

// The implode stream format of the PKWARE Data Compression Library: a streaming
// decoder (explode) and encoder (implode) driven by callbacks, each working in a
// caller-supplied work area and allocating nothing.
namespace Ostra::Papy::Dcl {

// Puts up to *size bytes into buffer and returns how many it put; 0 ends the input.
using ReadCallback = unsigned (*)(char* buffer, unsigned* size, void* param);
// Takes the *size bytes at buffer.
using WriteCallback = void (*)(char* buffer, unsigned* size, void* param);

// Result codes.
inline constexpr int CMP_NO_ERROR = 0;
// implode: a dictionary size other than 1024, 2048 or 4096; explode: a second stream
// byte other than 4, 5 or 6.
inline constexpr int CMP_INVALID_DICTSIZE = 1;
// A mode other than binary or ASCII, given or found.
inline constexpr int CMP_INVALID_MODE = 2;
// explode's first read delivered fewer than 5 bytes.
inline constexpr int CMP_BAD_DATA = 3;
// explode: the input ended before the end-of-stream code.
inline constexpr int CMP_ABORT = 4;

// How literals are coded.
inline constexpr unsigned CMP_BINARY = 0;
inline constexpr unsigned CMP_ASCII = 1;

// Work area sizes. Any char buffer of this size will do: the coders place their state
// at the first suitably aligned byte inside it.
inline constexpr std::size_t ExplodeWorkSize = 12596;
inline constexpr std::size_t ImplodeWorkSize = 36312;

// Decodes one stream. Input is pulled in pieces of 2048 bytes; output is pushed in
// pieces of 4096 bytes and a last, possibly empty, piece, which is written even when
// the stream turns out to be cut short (CMP_ABORT). A distance reaching back before
// the first byte produced copies zeros.
int explode(ReadCallback read, WriteCallback write, char* work, void* param);

// Encodes the whole input as one stream. Checks *dict_size (1024, 2048, 4096) and
// *mode (CMP_BINARY, CMP_ASCII) before calling anything; after that it consumes the
// input to its end and returns CMP_NO_ERROR. Input is pulled in blocks of 4096 bytes;
// output is pushed in pieces of exactly 2048 bytes and a shorter last piece.
int implode(ReadCallback read, WriteCallback write, char* work, void* param, unsigned* mode,
            unsigned* dict_size);

} // namespace Ostra::Papy::Dcl
