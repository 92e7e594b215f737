#pragma once
// An owner-drawn button of the dialogs: an icon stretched over the button, its caption centred
// on it and a raised frame; the caption turns black while the button is selected.

// Qt
#include <QPixmap>
#include <QPushButton>

// std
#include <array>

// Orvane
#include "platform/CFont.h"
#include "platform/WinTypes.h"

/// An icon resource of that number (":/icon/<number>.png"); null when there is none.
QPixmap LoadIconResource(UINT nId);

/// The icon button. Clicks arrive as the push button's own clicked(). Paints no background of
/// its own, and nothing at all while no icon is loaded. UI thread only.
class CIconButton : public QPushButton
{
    Q_OBJECT
public:
    explicit CIconButton(QWidget* parent = nullptr);
    ~CIconButton() override;

    /// Stores the five ids (the first the normal icon, the third the selected one; the others
    /// are kept and not used) and loads the normal and the selected icon, once.
    void SetIcons(UINT normal, UINT second, UINT selected, UINT fourth, UINT fifth);
    /// Shows the icon resource `id` (one of the two loaded ones without reading it again).
    void LoadIconImage(UINT id);
    /// Selected: the selected icon and a black caption.
    void Select();
    /// Normal: the normal icon and the caption in m_crText.
    void Deselect();
    /// The caption colour of the normal state; no repaint.
    void SetTextColor(COLORREF cr) { m_crText = cr; }
    /// A caption font of height 12 in that face.
    void SetFontName(const QString& face);

    BOOL m_bSelected = FALSE;             ///< selected: the caption is drawn black
    std::array<UINT, 5> m_anIconIds{};    ///< icon ids of the states: 0 normal, 2 selected
    COLORREF m_crText = 0xFFFFFF;         ///< caption colour in the normal state
    QPixmap m_hIcon;                      ///< the icon drawn; null when none
    CFont m_fontCaption;                  ///< the caption font; the widget's font until set

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_iconNormal;   // loaded once by SetIcons
    QPixmap m_iconSelected;
};
