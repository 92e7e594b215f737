#pragma once
// Text values of a data set in the character set it names in Specific Character Set
// (0008,0005): the same bytes read as Latin-1 show "MÃ¼ller" for a UTF-8 "Müller".

// Qt
#include <QString>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/ofstd/ofstring.h>

// std
#include <cstddef>

class DcmItem;

namespace DicomText {

/// The Specific Character Set of `item` (a data set or a DICOMDIR record), all its values
/// joined by "\"; empty when it has none.
OFString CharacterSetOf(DcmItem* item);

/// `length` bytes of a value in `characterSet`. "ISO_IR 192" is UTF-8 and "ISO_IR 100" Latin-1;
/// other sets (and code extensions) are converted by the toolkit. Without a set, or when a
/// conversion is not possible, valid UTF-8 stays and anything else is read as Latin-1, as
/// older files mean it.
QString Decode(const char* text, size_t length, const OFString& characterSet);
inline QString Decode(const OFString& text, const OFString& characterSet)
{
    return Decode(text.c_str(), text.length(), characterSet);
}

} // namespace DicomText
