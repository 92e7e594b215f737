#pragma once
// The window presets of the right-button menu: which presets a modality and bit depth offer,
// the "Default" item's text, the preset ids the view accepts, and reading a preset's values
// back from its text. Plain functions, no widget needed.

// Qt
#include <QString>
#include <QStringList>

// std
#include <optional>

namespace WindowPresets {

/// Width and centre (level) read from a preset text.
struct Window
{
    int nWidth = 0;
    int nCentre = 0;
    bool operator==(const Window&) const = default;
};

/// The preset texts, in menu order, for an image of `modality` (compared exactly) whose Bits
/// Allocated is `bitsAllocated`: eleven for CT 16-bit, one for MR 16-bit, three for US 8-bit,
/// none otherwise. "&&" in a text shows as one ampersand.
QStringList PresetTexts(const QString& modality, int bitsAllocated);

/// "Default(%d,%d)" of the file's window, each truncated toward zero (values that are not
/// finite count as 0, others are kept inside the int range).
QString DefaultText(double width, double centre);

/// A preset text's values: the whole number between the first "(" and the first ",", and the
/// one between that "," and the first ")" (leading number, rest ignored, as atoi). None when
/// one of the three marks is missing or they are out of order.
std::optional<Window> Parse(const QString& text);

/// The command is one of the open menu's presets: the "Default" item, or above
/// ID_WINDOW_PRESET_BASE and not above `nLastPresetId` (the last id handed out; 0 when no preset
/// menu is open).
bool IsPresetCommand(int nId, int nLastPresetId);

} // namespace WindowPresets
