#pragma once
// The font of the system's dialogs: "MS Sans Serif" 8 points at 96 dpi (the face mapped to an
// installed one), the font their layouts in dialog units were measured in.

// Qt
#include <QFont>

class QWidget;

/// The dialog font.
QFont DialogFont();

/// Gives `dialog` the dialog font, once, on the dialog itself: its lists, headers, buttons and
/// labels inherit it unless they set a font of their own. UI thread only.
void ApplyDialogFont(QWidget* dialog);
