#pragma once
// The DICOM Information dialog: one row per top-level data element of an image's data set
// (tag, name, value representation, value multiplicity, values, value length) in a report list
// over the grey band gradient. The dialog changes nothing in the data set.

// Qt
#include <QDialog>
#include <QPixmap>
#include <QString>

// DCMTK
#include <dcmtk/config/osconfig.h>
#include <dcmtk/ofstd/ofstring.h>

// std
#include <memory>
#include <vector>

// Orvane
#include "platform/WinTypes.h"

class CIconButton;
class DcmElement;
class DcmFileFormat;
class DcmItem;
class QTreeWidget;

/// The modal "DICOM Information" dialog (template 672). UI thread only.
class CDicomTagDisplayDlg : public QDialog
{
    Q_OBJECT
public:
    /// The six column texts of one element.
    struct ElementRow
    {
        QString tag;     ///< "[gggg-eeee]", lower-case hexadecimal
        QString name;    ///< the data dictionary's name
        QString vr;      ///< the value representation's name
        QString vm;      ///< value multiplicity
        QString value;   ///< the values joined with "\", cut after kValueDisplayLimit characters
        QString length;  ///< value length in bytes
    };

    /// Shown values are cut after this many characters (kValueCutMark appended).
    static constexpr int kValueDisplayLimit = 256;
    /// Column titles and widths (pixels), in column order.
    static const char* const kColumnTitles[6];
    static const int kColumnWidths[6];

    /// The row of `element`. Binary values (OB, OW, OF, OD, OL, OV, UN, pixel data and the
    /// toolkit's internal binary kinds) and sequences show an empty value, and their values are
    /// never read: an element whose value is still in the file stays there. Long text values
    /// still in the file are read only as far as they are shown.
    static ElementRow RowOf(DcmElement* element);
    /// The rows of the top level of `item` in data-set order (ascending tags); none for null.
    static std::vector<ElementRow> RowsOf(DcmItem* item);

    explicit CDicomTagDisplayDlg(QWidget* parent = nullptr);
    ~CDicomTagDisplayDlg() override;

    /// The item the list shows (borrowed; must outlive the dialog's use of it). Before DoModal.
    void SetImageItem(DcmItem* item);
    /// Reads the data set of the file at `path` (owned by the dialog; values above 4096 bytes
    /// stay in the file) and makes it the image item. FALSE, and no item, when the file cannot
    /// be read. Before DoModal.
    BOOL SetImageFile(const QString& path);
    /// Runs the dialog modally; returns the dialog's result (1 for OK).
    int DoModal();
    /// Centres, skins the buttons, creates the columns and fills the list from the image
    /// item. Runs once, when the dialog is first shown. Returns TRUE.
    BOOL OnInitDialog();
    /// Refills the list from `item`; empty for null.
    void ShowItemElements(DcmItem* item);
    /// Creates the six left-aligned columns.
    void InsertColumns();
    /// The data buttons: select the pressed one and show its item.
    void OnPatient();
    void OnStudy();
    void OnSeries();
    void OnImage();
    /// Centres the dialog on its parent (on the screen without one).
    void PositionDialog();

    int m_nBands = 236;                        ///< bands of the background gradient
    int m_nGradientDirection = 1;              ///< 0, 1: bands stacked from the top; others: from the left
    DcmItem* m_pPatientItem = nullptr;         ///< items of the four data buttons, borrowed;
    DcmItem* m_pStudyItem = nullptr;           ///< only the image item is ever set
    DcmItem* m_pSeriesItem = nullptr;
    DcmItem* m_pImageItem = nullptr;
    CIconButton* m_btnOK = nullptr;            ///< control 1
    CIconButton* m_btnStudy = nullptr;         ///< control 1002, hidden
    CIconButton* m_btnSeries = nullptr;        ///< control 1003, hidden
    CIconButton* m_btnPatient = nullptr;       ///< control 1001, hidden
    CIconButton* m_btnImage = nullptr;         ///< control 1004, hidden
    QTreeWidget* m_listElements = nullptr;     ///< list view 1000
    QPixmap m_hIcon;                           ///< the application icon (128); null when there is none

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    /// RowOf with the character set of the element's data set given.
    static ElementRow RowIn(DcmElement* element, const OFString& characterSet);
    void SelectDataButton(CIconButton* pressed, DcmItem* item);

    std::unique_ptr<DcmFileFormat> m_pFile; // the file read by SetImageFile
    bool m_bInitialised = false;
};
