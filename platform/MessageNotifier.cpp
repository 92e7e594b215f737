#include "platform/MessageNotifier.h"

// Qt
#include <QMessageBox>

namespace {

int ShowWithQt(const ShownMessage& m)
{
    QMessageBox box(m.owner);
    box.setText(m.text);
    box.setWindowTitle(m.caption);
    const unsigned icon = m.flags & 0xF0;
    box.setIcon(icon == MB_ICONSTOP          ? QMessageBox::Critical
                : icon == MB_ICONQUESTION    ? QMessageBox::Question
                : icon == MB_ICONEXCLAMATION ? QMessageBox::Warning
                : icon == MB_ICONINFORMATION ? QMessageBox::Information
                                             : QMessageBox::NoIcon);
    switch (m.flags & 0xF) {
    case MB_OKCANCEL:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MB_YESNO:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    if (m.flags & MB_SYSTEMMODAL) {
        box.setWindowModality(Qt::ApplicationModal);
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    }
    switch (box.exec()) {
    case QMessageBox::Cancel: return IDCANCEL;
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    default: return IDOK;
    }
}

Notifier& Current()
{
    static Notifier notifier;
    return notifier;
}

} // namespace

int MessageBox(QWidget* owner, const QString& text, const QString& caption, unsigned flags)
{
    const ShownMessage m{owner, text, caption, flags};
    return Current() ? Current()(m) : ShowWithQt(m);
}

Notifier SetMessageNotifier(Notifier notifier)
{
    Notifier old = std::move(Current());
    Current() = std::move(notifier);
    return old;
}
