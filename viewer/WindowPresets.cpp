#include "viewer/WindowPresets.h"

// std
#include <climits>
#include <cmath>

// Orvane
#include "platform/NumberParse.h"
#include "res/resource.h"

namespace WindowPresets {

namespace {

int TruncClamped(double value)
{
    if (!std::isfinite(value))
        return 0;
    const double t = std::trunc(value);
    if (t <= double(INT_MIN))
        return INT_MIN;
    if (t >= double(INT_MAX))
        return INT_MAX;
    return int(t);
}

} // namespace

QStringList PresetTexts(const QString& modality, int bitsAllocated)
{
    if (modality == QLatin1String("CT") && bitsAllocated == 16)
        return {QStringLiteral("Abdomen/Pelvis(350,40)"), QStringLiteral("Bone(2500,480)"),
                QStringLiteral("Brain(80,40)"),           QStringLiteral("Cerebrum(350,50)"),
                QStringLiteral("Chest(350,40)"),          QStringLiteral("Head && Neck(350,90)"),
                QStringLiteral("Liver(150,50)"),          QStringLiteral("Lungs(1500,-600)"),
                QStringLiteral("Mediastinum(300,50)"),    QStringLiteral("Pelvis(400,40)"),
                QStringLiteral("PoseriorFossa(250,80)")};
    if (modality == QLatin1String("MR") && bitsAllocated == 16)
        return {QStringLiteral("Brain(70,50)")};
    if (modality == QLatin1String("US") && bitsAllocated == 8)
        return {QStringLiteral("Med Contrast(160,70)"), QStringLiteral("Low Contrast(190,80)"),
                QStringLiteral("High Contrast(120,60)")};
    return {};
}

QString DefaultText(double width, double centre)
{
    return QString::asprintf("Default(%d,%d)", TruncClamped(width), TruncClamped(centre));
}

std::optional<Window> Parse(const QString& text)
{
    const qsizetype open = text.indexOf(QLatin1Char('('));
    const qsizetype comma = text.indexOf(QLatin1Char(','));
    const qsizetype close = text.indexOf(QLatin1Char(')'));
    if (open < 0 || comma < 0 || close < 0 || !(open < comma && comma < close))
        return std::nullopt;
    const QByteArray width = text.mid(open + 1, comma - open - 1).toLatin1();
    const QByteArray centre = text.mid(comma + 1, close - comma - 1).toLatin1();
    return Window{AtoI(width.constData()), AtoI(centre.constData())};
}

bool IsPresetCommand(int nId, int nLastPresetId)
{
    return nId == ID_WINDOW_PRESET_DEFAULT || (nId > ID_WINDOW_PRESET_BASE && nId <= nLastPresetId);
}

} // namespace WindowPresets
