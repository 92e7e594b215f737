#pragma once
// What both fuzz targets share: a quiet toolkit and log, and a scratch file for the input.

// Qt
#include <QByteArray>
#include <QString>

// std
#include <cstddef>
#include <cstdint>

namespace FuzzCommon {

/// Silences the toolkit's and the viewer's own logging (every damaged input would print).
void Quiet();
/// A private scratch folder for this process, made once.
QString ScratchFolder();
/// Writes the input to `path`, replacing what was there; false when it can't be written.
bool WriteInput(const QByteArray& path, const std::uint8_t* data, std::size_t size);

} // namespace FuzzCommon
