#pragma once
// Refuses damaged pixel data before anything is decoded or built from it: an element that is
// no pixel data, sizes and bit depths no image can have, uncompressed data shorter than one
// frame, RLE headers that point outside their fragment, and JPEG fragments on which the
// toolkit's bit-depth scan would never end.

// Qt
#include <QString>

// std
#include <cstdint>
#include <functional>

class DcmDataset;

namespace PixelDataCheck {

/// Largest frame, in bytes, an image may claim: a larger one is no image a viewer can build.
inline constexpr std::uint64_t kMaxFrameBytes = std::uint64_t(1) << 30;

/// Empty when the pixel data of `dataset` (as read, before any change of representation) may be
/// handed to the toolkit; otherwise the line the pane shows (study/LoadFailure.h). Reads only
/// the first bytes of each compressed fragment, from the file when they are not in memory.
QString Refusal(DcmDataset* dataset);

/// True when an RLE fragment of `length` bytes whose header is `header` (its first 64 bytes, or
/// fewer when the fragment is shorter) holds `segments` segments that all lie inside it.
bool RleHeaderSound(const std::uint8_t* header, std::uint32_t headerBytes, std::uint32_t length, std::uint32_t segments);

/// Reads the two bytes at an offset of a fragment; false past its end.
using ByteReader = std::function<bool(std::uint32_t offset, std::uint8_t* two)>;

/// Walks the markers of a JPEG fragment of `length` bytes the way the toolkit's bit-depth scan
/// does and returns false when that scan would never end (a marker it does not step past).
bool JpegScanEnds(const ByteReader& read, std::uint32_t length);

} // namespace PixelDataCheck
