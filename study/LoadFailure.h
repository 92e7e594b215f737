#pragma once
// Why an image shows no picture: the one line a pane shows in place of a picture that could
// not be made. Every reason has one text, defined here.

// Qt
#include <QString>

namespace LoadFailure {

inline constexpr char kFileUnreadable[] = "The file could not be read";
inline constexpr char kNoPixelData[] = "The file holds no pixel data";
inline constexpr char kPixelDataUnreadable[] = "The pixel data could not be read";
/// A multi-frame image that opened, one of whose frames the decoder refused
inline constexpr char kFrameUnreadable[] = "This frame could not be read";
inline constexpr char kJpeg2000[] = "JPEG 2000 images are not shown";
inline constexpr char kJpegLs[] = "JPEG-LS images are not shown";
inline constexpr char kJpegProcess35[] = "JPEG Extended (processes 3 and 5) images are not shown";

/// The text for pixel data in the transfer syntax `uid` that no decoder here reads: the texts
/// above for JPEG 2000, JPEG-LS and JPEG processes 3 and 5, "<name> images are not shown" for
/// any other (the toolkit's name of the syntax, or the UID when it has none). Thread safe.
QString RefusedTransferSyntax(const char* uid);

} // namespace LoadFailure
