#pragma once
// The magnifier settings: the modal sheet "Magnifying Glass Properties" with its Size, Zoom and
// Shape pages of radio buttons, and the tables between the settings and the radio indices.

// Qt
#include <QDialog>

// std
#include <vector>

// Orvane
#include "platform/WinTypes.h"

class CImageWnd;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QTabWidget;

/// Radio index of a lens size in pixels: 100 -> 0, 200 -> 1, ... 600 -> 5, any other -> 0.
int MagnifierSizeRadio(int size);
/// Lens size of a size radio: 0 -> 100, 1 -> 200, ... 5 -> 600, any other -> 100.
int MagnifierSizeFromRadio(int radio);
/// Radio index of a zoom in tenths: 18 -> 0, 25 -> 2, 30 -> 3, any other -> 1.
int MagnifierZoomRadio(int zoom);
/// Zoom of a zoom radio: 0 -> 18, 1 -> 20, 2 -> 25, 3 -> 30, any other -> 18. (The radios read
/// "100", "120", "150", "180".)
int MagnifierZoomFromRadio(int radio);

/// A page of the sheet: one group box (control 1068) holding a group of radio buttons that
/// starts at control 1023. UI thread only.
class CMagnPage : public QWidget
{
    Q_OBJECT
public:
    struct Radio
    {
        int id;            ///< control id (the button's object name)
        const char* text;
    };
    CMagnPage(int templateId, const char* title, std::vector<Radio> radios, QWidget* parent = nullptr);

    /// Radio exchange: with bSaveAndValidate m_nRadio = index of the checked button (-1 when
    /// none), else the button m_nRadio is checked (none for an index outside the group).
    void DoDataExchange(bool bSaveAndValidate);
    QString GetTitle() const { return m_strTitle; }

    int m_nRadio = 0;                       ///< index of the checked radio button
    int m_nTemplateId = 0;                  ///< dialog template of the page
    QGroupBox* m_group = nullptr;           ///< control 1068
    std::vector<QRadioButton*> m_radios;    ///< in group order

private:
    QString m_strTitle;
};

/// Page "Size" (template 164): "100" to "600".
class CPPSize : public CMagnPage
{
    Q_OBJECT
public:
    explicit CPPSize(QWidget* parent = nullptr);
};

/// Page "Zoom" (template 165): "100", "120", "150", "180".
class CPPZoom : public CMagnPage
{
    Q_OBJECT
public:
    explicit CPPZoom(QWidget* parent = nullptr);
};

/// Page "Shape" (template 163): "Rectangular", "Round".
class CPPShape : public CMagnPage
{
    Q_OBJECT
public:
    explicit CPPShape(QWidget* parent = nullptr);
};

/// The sheet: tabs Size, Zoom, Shape, then OK and Cancel (no Apply). OK takes the checked radios
/// into the pages; Cancel leaves them as set. UI thread only.
class CPropMagn : public QDialog
{
    Q_OBJECT
public:
    /// The sheet with that title and first page (0 size, 1 zoom, 2 shape).
    CPropMagn(const char* title, QWidget* parent = nullptr, UINT selectPage = 0);
    ~CPropMagn() override;

    /// Shape radio = shape; size and zoom radios by the tables.
    void SetValues(int shape, int size, int zoom);
    /// The three radio indices.
    void GetValues(int* shape, int* sizeRadio, int* zoomRadio) const;
    /// Runs the sheet modally; 1 for OK.
    int DoModal();

    /// The settings as a view opens them: the magnifier (made on first use over `pView`'s
    /// window) is hidden, the sheet "Magnifying Glass Properties" is preset from it and shown
    /// application-modal; it returns at once. On OK the choice goes to the magnifier with
    /// option 1 and to theApp (ApplyToMagnifier); on Cancel nothing changes. The sheet deletes
    /// itself when it closes.
    static CPropMagn* OpenMagnifierSettings(QWidget* pView);
    /// The OK step: size and zoom by the tables, the shape, option 1, into `pMagnifier` (when
    /// there is one) and theApp.
    void ApplyToMagnifier(CImageWnd* pMagnifier) const;

    CPPSize m_pageSize;
    CPPShape m_pageShape;
    CPPZoom m_pageZoom;
    QTabWidget* m_tabs = nullptr;
    QPushButton* m_btnOK = nullptr;
    QPushButton* m_btnCancel = nullptr;

public slots:
    void accept() override;
};
