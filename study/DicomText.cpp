#include "study/DicomText.h"

// Qt
#include <QByteArray>

// DCMTK
#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcitem.h>
#include <dcmtk/dcmdata/dcspchrs.h>

// std
#include <memory>

namespace DicomText {

namespace {

bool IsAscii(const char* text, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            return false;
    return true;
}

QString Guessed(const char* text, size_t length)
{
    // Plain ASCII reads the same in UTF-8 and Latin-1
    if (IsAscii(text, length))
        return QString::fromLatin1(text, qsizetype(length));
    const QByteArray bytes(text, qsizetype(length));
    const QString utf8 = QString::fromUtf8(bytes);
    return utf8.toUtf8() == bytes ? utf8 : QString::fromLatin1(bytes);
}

} // namespace

OFString CharacterSetOf(DcmItem* item)
{
    OFString set;
    if (item)
        item->findAndGetOFStringArray(DCM_SpecificCharacterSet, set, OFFalse);
    return set;
}

QString Decode(const char* text, size_t length, const OFString& characterSet)
{
    if (!text || length == 0)
        return QString();
    // Trailing and leading spaces are padding, and "ISO_IR 6" is the default repertoire
    OFString set = characterSet;
    while (!set.empty() && set[set.length() - 1] == ' ')
        set.erase(set.length() - 1);
    while (!set.empty() && set[0] == ' ')
        set.erase(0, 1);
    if (set.empty() || set == "ISO_IR 6")
        return Guessed(text, length);
    if (set == "ISO_IR 192")
        return QString::fromUtf8(text, qsizetype(length));
    if (set == "ISO_IR 100")
        return QString::fromLatin1(text, qsizetype(length));
    // The converter of the last set this thread used is kept: a DICOMDIR's records and an
    // image's texts name one set many times over
    thread_local OFString convertedSet;
    thread_local std::unique_ptr<DcmSpecificCharacterSet> converter;
    thread_local bool usable = false;
    if (!converter || convertedSet != set) {
        converter = std::make_unique<DcmSpecificCharacterSet>();
        convertedSet = set;
        usable = converter->selectCharacterSet(set).good();
    }
    OFString converted;
    if (usable && converter->convertString(text, length, converted).good())
        return QString::fromUtf8(converted.c_str(), qsizetype(converted.length()));
    return Guessed(text, length);
}

} // namespace DicomText
