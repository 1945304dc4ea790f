#pragma once

#include <QtGlobal>

#include <cstddef>

// Our stand-in for the operating system's font subsetting service: the same
// inputs (source font, flags, identifiers, keep list of character codes,
// allocation routines) and outputs (a standalone subset font in a buffer
// allocated with the caller's routines). Built on HarfBuzz's subsetter, it
// subsets TrueType and CFF-flavoured fonts alike. Character codes are
// Unicode code points (Microsoft UCS-4), so characters beyond U+FFFF can be
// kept, and their count is 32-bit.

using FontPackageAlloc = void *(*)(size_t);
using FontPackageRealloc = void *(*)(void *, size_t);
using FontPackageFree = void (*)(void *);

namespace FontPackage {

// Flags
constexpr quint16 FlagSubset = 0x0001;    // subset (always set for a subset)
constexpr quint16 FlagCompress = 0x0002;  // compressed output: not offered
constexpr quint16 FlagCollection = 0x0004; // the source is a collection; ttcIndex picks the member
constexpr quint16 FlagGlyphList = 0x0008; // keep list holds glyph indices, not character codes

// Kinds of output
constexpr quint16 StandaloneSubset = 0;

// Name language: 0 keeps the name records of every language.
constexpr quint16 AllLanguages = 0;

constexpr quint16 PlatformMicrosoft = 3;
constexpr quint16 EncodingUcs4 = 10;

// Results: 0 is success.
constexpr quint32 Ok = 0;
constexpr quint32 ErrorBadArguments = 1001;
constexpr quint32 ErrorUnsupported = 1002;
constexpr quint32 ErrorNotAFont = 1003;
constexpr quint32 ErrorSubsetFailed = 1004;
constexpr quint32 ErrorOutOfMemory = 1005;

} // namespace FontPackage

quint32 createFontPackage(const uchar *sourceFont, quint32 sourceSize,
                          uchar **fontPackageBuffer, quint32 *fontPackageBufferSize,
                          quint32 *bytesWritten, quint16 flags, quint16 ttcIndex,
                          quint16 subsetFormat, quint16 subsetLanguage, quint16 platformId,
                          quint16 encodingId, const quint32 *keepList, quint32 keepListCount,
                          FontPackageAlloc allocate, FontPackageRealloc reallocate,
                          FontPackageFree release, void *reserved);
