#pragma once
// The Study List dialog.

// Qt
#include <QDialog>

// Orvane
#include "platform/WinTypes.h"

/// The modeless Study List dialog. UI thread only.
class CStudyList : public QDialog
{
    Q_OBJECT
public:
    explicit CStudyList(QWidget* parent = nullptr);
    ~CStudyList() override;

    /// Creates the dialog hidden from its template.
    BOOL Create(int templateId, QWidget* parent);
    /// Centres the dialog on its screen.
    void CenterWindow();
};
