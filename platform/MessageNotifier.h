#pragma once
// Every message box of the system goes through one notifier, so tests can read the text and
// caption without a blocking dialog.

// Qt
#include <QString>

// std
#include <functional>

class QWidget;

/// Message-box flags in the shape the callers pass them.
enum MessageBoxFlags : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNO = 0x4,
    MB_ICONSTOP = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_SYSTEMMODAL = 0x1000,
};
enum MessageBoxResult : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

/// One shown message, as tests see it.
struct ShownMessage
{
    QWidget* owner = nullptr;
    QString text;
    QString caption;
    unsigned flags = 0;
};

/// Shows a message box through the current notifier and returns the button pressed.
/// UI thread only.
int MessageBox(QWidget* owner, const QString& text, const QString& caption, unsigned flags);

/// Replaces the notifier (an empty function restores the QMessageBox one). Returns the old one.
using Notifier = std::function<int(const ShownMessage&)>;
Notifier SetMessageNotifier(Notifier notifier);
