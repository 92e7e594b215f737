#include "toolpanes/CDragListCtrl.h"

// Qt
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

// Orvane
#include "state/CAppState.h"
#include "platform/Gdi.h"
#include "platform/LastError.h"
#include "platform/ReportSystemError.h"
#include "state/ToolState.h"
#include "toolpanes/ToolStateDisplay.h"
#include "viewer/CImageWnd.h"
#include "viewer/CMyFrameWnd.h"
#include "viewer/CVantrelView.h"

namespace {

constexpr int kLabelGap = 2;

QColor FromColorRef(COLORREF c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

// Picture centred at the top, label below; the selected label in the list's own colours and
// no highlight over the picture.
class ThumbnailDelegate : public QStyledItemDelegate
{
public:
    explicit ThumbnailDelegate(CDragListCtrl* list)
        : QStyledItemDelegate(list)
        , m_list(list)
    {
    }
    int m_nSide = 74;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        const int width = std::max(m_nSide + 4, m_list->viewport()->width() - 2 * m_list->spacing());
        return QSize(width, m_nSide + kLabelGap + option.fontMetrics.height() + 2);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QRect r = option.rect;
        const QIcon icon = index.data(Qt::DecorationRole).value<QIcon>();
        const QRect picture(r.left() + (r.width() - m_nSide) / 2, r.top(), m_nSide, m_nSide);
        if (!icon.isNull())
            painter->drawPixmap(picture, icon.pixmap(QSize(m_nSide, m_nSide)));
        const QString text = index.data(Qt::DisplayRole).toString();
        const QFontMetrics& fm = option.fontMetrics;
        const QRect lineBox(r.left(), picture.bottom() + 1 + kLabelGap, r.width(), fm.height());
        const QString shown = fm.elidedText(text, Qt::ElideRight, lineBox.width());
        const int textWidth = fm.horizontalAdvance(shown);
        const QRect textBox(lineBox.left() + (lineBox.width() - textWidth) / 2 - 1, lineBox.top(), textWidth + 2, lineBox.height());
        const bool selected = option.state & QStyle::State_Selected;
        if (selected)
            painter->fillRect(textBox, FromColorRef(m_list->m_crSelectedBack));
        painter->setPen(selected ? FromColorRef(m_list->m_crSelectedText) : QColor(Qt::white));
        painter->drawText(lineBox, Qt::AlignHCenter | Qt::AlignTop, shown);
    }

private:
    CDragListCtrl* m_list;
};

} // namespace

CDragListCtrl::CDragListCtrl(QWidget* parent)
    : QListWidget(parent)
{
    setItemDelegate(new ThumbnailDelegate(this));
    setViewMode(QListView::IconMode);
    setFlow(QListView::TopToBottom);
    setWrapping(false);
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(false);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setUniformItemSizes(true);
    setSpacing(2);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    QPalette pal = palette();
    pal.setColor(QPalette::Base, Qt::black);
    pal.setColor(QPalette::Window, Qt::black);
    pal.setColor(QPalette::Text, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);
}

CDragListCtrl::~CDragListCtrl()
{
    KillScrollTimer();
    delete m_pDragImage.data();
}

void CDragListCtrl::SetThumbnailSide(int nSide)
{
    m_nSide = std::max(1, nSide);
    setIconSize(QSize(m_nSide, m_nSide));
    static_cast<ThumbnailDelegate*>(itemDelegate())->m_nSide = m_nSide;
    doItemsLayout();
}

QListWidgetItem* CDragListCtrl::AddThumbnail(int nKeyIndex, const QImage& picture, const QString& strLabel)
{
    auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(picture)), strLabel);
    item->setData(KeyIndexRole, nKeyIndex);
    item->setToolTip(strLabel.left(79));
    addItem(item);
    return item;
}

QListWidgetItem* CDragListCtrl::ItemOfKey(int nKeyIndex) const
{
    if (nKeyIndex < 0)
        return nullptr;
    // Items are in key order; one per key unless a run was cut short
    QListWidgetItem* at = item(nKeyIndex);
    if (at && KeyIndexOf(at) == nKeyIndex)
        return at;
    for (int row = 0; row < count(); ++row)
        if (KeyIndexOf(item(row)) == nKeyIndex)
            return item(row);
    return nullptr;
}

int CDragListCtrl::KeyIndexOf(const QListWidgetItem* item)
{
    if (!item)
        return -1;
    bool ok = false;
    const int index = item->data(KeyIndexRole).toInt(&ok);
    return ok ? index : -1;
}

void CDragListCtrl::resizeEvent(QResizeEvent* event)
{
    QListWidget::resizeEvent(event);
    doItemsLayout();
}

// --- Drag by hand -----------------------------------------------------------------------------

void CDragListCtrl::mousePressEvent(QMouseEvent* event)
{
    try {
        if (IsDragging()) {
            // The right button cancels; the left one does nothing while dragging
            if (event->button() == Qt::RightButton)
                EndDrag(false, QPoint());
            event->accept();
            return;
        }
        m_bPressOnItem = event->button() == Qt::LeftButton && itemAt(event->position().toPoint());
        m_ptPress = event->position().toPoint();
        QListWidget::mousePressEvent(event);
    } catch (...) {
        ReportSystemError(GetLastError(), "CDragListCtrl::OnLButtonDown");
    }
}

void CDragListCtrl::mouseMoveEvent(QMouseEvent* event)
{
    try {
        const QPoint pos = event->position().toPoint();
        if (IsDragging()) {
            MoveDrag(viewport()->mapToGlobal(pos));
            event->accept();
            return;
        }
        if (m_bPressOnItem && (event->buttons() & Qt::LeftButton)
            && (pos - m_ptPress).manhattanLength() >= QApplication::startDragDistance()) {
            m_bPressOnItem = false;
            if (BeginDrag(pos)) {
                MoveDrag(viewport()->mapToGlobal(pos));
                event->accept();
                return;
            }
        }
        KillScrollTimer();
        QListWidget::mouseMoveEvent(event);
    } catch (...) {
        ReportSystemError(GetLastError(), "CDragListCtrl::OnMouseMove");
    }
}

void CDragListCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    try {
        m_bPressOnItem = false;
        if (IsDragging()) {
            if (event->button() == Qt::LeftButton)
                EndDrag(true, viewport()->mapToGlobal(event->position().toPoint()));
            event->accept();
            return;
        }
        QListWidget::mouseReleaseEvent(event);
    } catch (...) {
        ReportSystemError(GetLastError(), "CDragListCtrl::OnLButtonUp");
    }
}

void CDragListCtrl::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

bool CDragListCtrl::BeginDrag(QPoint pos)
{
    m_nPrevDropIndex = -1;
    m_bPrevDropSelected = false;
    m_anDragIndexes.clear();
    for (int row = 0; row < count(); ++row)
        if (item(row)->isSelected())
            m_anDragIndexes << KeyIndexOf(item(row));
    if (m_anDragIndexes.isEmpty())
        return false;

    // The drag picture: the selected items as the list shows them, over the main window
    QRect bounds;
    for (int row = 0; row < count(); ++row)
        if (item(row)->isSelected())
            bounds |= visualItemRect(item(row));
    if (bounds.isEmpty())
        bounds = QRect(0, 0, 80, 70);
    QWidget* host = window();
    const QPixmap picture = viewport()->grab(bounds);
    if (!host || picture.isNull())
        return false;
    delete m_pDragImage.data();
    auto* label = new QLabel(host);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->setFocusPolicy(Qt::NoFocus);
    label->setPixmap(picture);
    label->resize(picture.size() / picture.devicePixelRatio());
    m_ptHotSpot = pos - bounds.topLeft();
    m_pDragImage = label;
    label->show();
    label->raise();
    return true;
}

void CDragListCtrl::MoveDrag(QPoint globalPos)
{
    if (!m_pDragImage)
        return;
    if (QWidget* host = m_pDragImage->parentWidget())
        m_pDragImage->move(host->mapFromGlobal(globalPos) - m_ptHotSpot);
    m_pDragImage->raise();

    // Over the list: the item at that height becomes the drop target
    const QPoint pos = viewport()->mapFromGlobal(globalPos);
    const QRect client = viewport()->rect();
    if (pos.y() >= 0 && pos.y() < client.height() && pos.x() >= 0 && pos.x() < client.width()) {
        for (int row = 0; row < count(); ++row) {
            const QRect r = visualItemRect(item(row));
            if (pos.y() >= r.top() && pos.y() <= r.bottom()) {
                SelectDropTarget(row);
                break;
            }
        }
    }
    if (pos.y() < client.top())
        SetScrollTimer(1);
    else if (pos.y() > client.bottom())
        SetScrollTimer(2);
    else
        KillScrollTimer();
}

void CDragListCtrl::EndDrag(bool bDrop, QPoint globalPos)
{
    KillScrollTimer();
    delete m_pDragImage.data();
    m_pDragImage = nullptr;
    if (bDrop)
        DropOnView(globalPos);
}

void CDragListCtrl::SelectDropTarget(int nRow)
{
    if (nRow < 0 || nRow >= count())
        return;
    RestorePrevDropItemState();
    m_nPrevDropIndex = nRow;
    m_bPrevDropSelected = item(nRow)->isSelected();
    setCurrentRow(nRow, QItemSelectionModel::ClearAndSelect);
    m_nDropIndex = nRow;
    viewport()->update();
}

void CDragListCtrl::RestorePrevDropItemState()
{
    if (m_nPrevDropIndex >= 0 && m_nPrevDropIndex < count())
        item(m_nPrevDropIndex)->setSelected(m_bPrevDropSelected);
}

void CDragListCtrl::SetScrollTimer(int nDirection)
{
    if (!m_scrollTimer.isActive()) {
        m_scrollTimer.start(kScrollPeriodMs, this);
        m_nScrollDirection = nDirection;
    }
}

void CDragListCtrl::KillScrollTimer()
{
    m_scrollTimer.stop();
    m_nScrollDirection = 0;
}

void CDragListCtrl::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_scrollTimer.timerId()) {
        QListWidget::timerEvent(event);
        return;
    }
    try {
        if (!IsDragging()) {
            KillScrollTimer();
            return;
        }
        if (m_nScrollDirection == 1) {
            verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub); // one item
            SelectDropTarget(m_nDropIndex - 1);
        } else if (m_nScrollDirection == 2) {
            verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            SelectDropTarget(m_nDropIndex + 1);
        }
    } catch (...) {
        ReportSystemError(GetLastError(), "CDragListCtrl::OnTimer");
    }
}

// --- Drop and double-click ----------------------------------------------------------------------

void CDragListCtrl::DropOnView(QPoint globalPos)
{
    try {
        const int index = m_anDragIndexes.value(0, -1);
        if (index < 0 || index >= theApp.m_astrSeriesKeys.size())
            return;
        CMyFrameWnd* grid = theApp.m_pViewGridFrame;
        // The widget under the pointer in the list's own window (the pointer's position there is
        // exact also where global positions of windows are not); nothing when another window
        // lies over that point or the point is outside
        QWidget* top = window();
        const QPoint local = top ? top->mapFromGlobal(globalPos) : QPoint();
        QWidget* over = QApplication::topLevelAt(globalPos);
        if (!top || !top->rect().contains(local) || (over && over != top))
            return;
        QWidget* target = top->childAt(local);
        if (!grid || !target || target == this || target == viewport())
            return;
        auto* view = qobject_cast<CVantrelView*>(target);
        if (!view)
            return;
        if (!grid->m_bSeriesLayout) {
            // Stops every loop of the grid before it loads
            grid->LoadSeriesIntoViews(theApp.GetSeriesKey(index));
            return;
        }
        // The loop reads the view's image and series records: it ends before they change
        view->StopCine();
        grid->SetActiveView(view);
        LoadSeriesIntoView(view, index);
    } catch (...) {
        ReportSystemError(GetLastError(), "CDragListCtrl::DropOnView");
    }
}

void CDragListCtrl::ShowItemInView(int nIndex)
{
    try {
        if (nIndex < 0 || nIndex >= theApp.m_astrSeriesKeys.size())
            return;
        CMyFrameWnd* grid = theApp.m_pViewGridFrame;
        CVantrelView* view = grid ? grid->GetSelectedView() : nullptr;
        if (!view)
            return;
        if (!grid->m_bSeriesLayout) {
            grid->LoadSeriesIntoViews(theApp.GetSeriesKey(nIndex));
            return;
        }
        view->StopCine();
        LoadSeriesIntoView(view, nIndex);
    } catch (...) {
        ReportSystemError(GetLastError(), "CDragListCtrl::ShowItemInView");
    }
}

void CDragListCtrl::LoadSeriesIntoView(CVantrelView* view, int nIndex)
{
    CMyFrameWnd* grid = theApp.m_pViewGridFrame;
    if (!view || !grid)
        return;
    // The magnifier is laid over this view again; pan ends
    const BYTE magnifier = g_bMagnifierMode;
    if (magnifier && g_wndMagnifier)
        g_wndMagnifier->DeleteMagnifier();
    g_bMagnifierMode = 0;
    g_bPanMode = 0;
    view->m_bMouseDown = FALSE;
    g_bMagnifierMode = magnifier;
    if (magnifier)
        view->CreateMagnifierWindow();
    // Pan may have been the only tool: the buttons follow the state
    FallBackToDefaultTool();
    SyncToolButtons();

    grid->LoadKeyIntoView(view, theApp.GetSeriesKey(nIndex));
    if (QListWidgetItem* item = ItemOfKey(nIndex))
        setCurrentItem(item, QItemSelectionModel::ClearAndSelect);
    view->setFocus(Qt::OtherFocusReason);
}
