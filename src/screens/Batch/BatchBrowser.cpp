#include "screens/Batch/BatchBrowser.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QVBoxLayout>

#include "components/EscapeKeyMonitor.h"
#include "components/LocalMouseMonitor.h"
#include "components/ReadingOrder.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/ResourceImages.h"
#include "platform/NotificationCenter.h"
#include "screens/Batch/BatchGridView.h"
#include "screens/Batch/BatchListModel.h"
#include "screens/Batch/BatchListView.h"
#include "screens/Batch/NoNewPhotosAlertView.h"
#include "screens/Batch/PhotoInfoView.h"
#include "screens/Batch/PhotoMenuView.h"

namespace vantrel {

namespace {

const QColor kPanel(36, 41, 50);
const QColor kPopup(54, 63, 78);
const QColor kAccent(66, 180, 211);
constexpr int kHeaderButtonSide = 18;
constexpr int kModeButtonSide = 24; // the mode pictures' own size
constexpr int kAutomaticSide = 12;
constexpr int kMenuSide = 1;
constexpr float kPopupDistance = 5;

} // namespace

BatchBrowser::BatchBrowser(BatchHost* host, QList<PhotoFilePtr>* batch, QWidget* parent)
    : QWidget(parent)
    , m_batch(batch ? batch : &AppDelegate::shareDelegate()->arraySelectedImagesToProcess)
    , m_presenter(new BatchPresenter(this, host, m_batch, this))
{
    setObjectName(QStringLiteral("batchBrowser"));
    setAccessibleName(tr("Batch"));
    // A click on the panel gives it the keyboard (Control with a key marks all); Tab passes it
    // by for its controls, which hand it their keys too.
    setFocusPolicy(Qt::ClickFocus);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kPanel);
    setPalette(palette);

    buildHeader();

    m_list = new BatchListView(m_batch, this, this);
    m_grid = new BatchGridView(m_batch, this);
    m_emptyPage = new QWidget(this);
    m_emptyPage->setAccessibleName(tr("Empty batch"));
    auto* pages = new QWidget(this);
    m_stack = new QStackedLayout(pages);
    m_stack->addWidget(m_emptyPage);
    m_stack->addWidget(m_list);
    m_stack->addWidget(m_grid);

    m_btnMarkAllOnTblHeader = makeImageButton("btnMarkAllOnTblHeader", tr("Select all"), m_list);
    m_btnRemoveAllOnTblHeader = makeImageButton("btnRemoveAllOnTblHeader", tr("Remove all photos"), m_list);
    setButtonImage(m_btnMarkAllOnTblHeader, QStringLiteral("checked_image.png"));
    setButtonImage(m_btnRemoveAllOnTblHeader, QStringLiteral("close-normal.png"));
    // The header's buttons sit over the list's last columns: they follow the list's own size and
    // its scroll bar, which change after the screen's (a window resized while another step was
    // shown, a batch that grows past one page).
    m_list->installEventFilter(this);
    m_list->verticalScrollBar()->installEventFilter(this);

    m_lblBatchInfo = new QLabel(this);
    m_lblBatchInfo->setObjectName(QStringLiteral("lblBatchInfo"));
    m_lblBatchInfo->setAccessibleName(tr("Batch information"));
    m_lblBatchInfo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_lblBatchInfo->setTextFormat(Qt::RichText);
    m_lblBatchInfo->setContentsMargins(8, 0, 12, 0);
    m_lblBatchInfo->setFixedHeight(26);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_header);
    layout->addWidget(pages, 1);
    layout->addWidget(m_lblBatchInfo);

    m_infoView = new PhotoInfoView(this);
    m_infoView->hide();
    m_menuView = new PhotoMenuView(this);
    m_menuView->hide();
    m_noNewPhotos = new NoNewPhotosAlertView(this);
    m_noNewPhotos->hide();

    BatchPresenter* presenter = m_presenter;
    connect(m_btnMarkAllOnGridHeader, &QAbstractButton::clicked, presenter, &BatchPresenter::btnMarkAllTapped);
    connect(m_btnMarkAllOnTblHeader, &QAbstractButton::clicked, presenter, &BatchPresenter::btnMarkAllTapped);
    connect(
        m_btnRemovePhoto, &QAbstractButton::clicked, presenter, [presenter] { presenter->btnRemovePhotoTapped(0); });
    connect(
        m_btnRemoveAllPhoto, &QAbstractButton::clicked, presenter, [presenter] { presenter->btnRemovePhotoTapped(1); });
    connect(m_btnRemoveAllOnTblHeader, &QAbstractButton::clicked, presenter,
        [presenter] { presenter->btnRemovePhotoTapped(1); });
    for (int tag = 1; tag <= 3; ++tag) {
        connect(m_modeButtons[tag - 1], &QAbstractButton::clicked, presenter,
            [presenter, tag] { presenter->btnViewPhotosModetapped(tag); });
    }

    connect(m_list, &BatchListView::rightClickedRow, this,
        [this](QPoint at, int row) { m_presenter->showMenuForIndex(mapFrom(window(), at), row); });
    connect(m_list, &BatchListView::photoMenuKeyPressed, this,
        [this](QPoint at, int row) { openPhotoMenuByKey(mapFrom(window(), at), row, m_list); });
    connect(m_list, &BatchListView::pathsDropped, presenter, &BatchPresenter::acceptDrop);
    connect(m_list, &BatchListView::thumbnailsLoading, this, &BatchBrowser::dismissInfoPopup);
    connect(m_grid, &BatchGridView::checkboxTapped, this, [this](QPoint at, qsizetype index) {
        m_presenter->btnCheckboxTappedAtLocationInCollectionView(m_grid->mapTo(this, at), index);
    });
    connect(m_grid, &BatchGridView::infoTapped, this, [this](QPoint at, qsizetype index) {
        // The popup's arrow points into the cell's info control.
        m_presenter->btnInfoTapped(m_grid->mapTo(this, at + QPoint(18, 16)), index);
    });
    connect(m_grid, &BatchGridView::rightClicked, this, [this](QPoint at, qsizetype index) {
        m_presenter->showMenuForIndex(m_grid->mapTo(this, at + QPoint(0, 10)), index);
    });
    connect(m_grid, &BatchGridView::photoMenuKeyPressed, this,
        [this](QPoint at, qsizetype index) { openPhotoMenuByKey(m_grid->mapTo(this, at), index, m_grid); });
    connect(m_grid, &BatchGridView::removeKeyPressed, presenter, &BatchPresenter::removePhotoByKey);
    connect(m_grid, &BatchGridView::pathsDropped, presenter, &BatchPresenter::acceptDrop);
    connect(m_grid, &BatchGridView::scrolled, this, &BatchBrowser::dismissInfoPopup);
    connect(m_infoView, &PhotoInfoView::closeTapped, this, &BatchBrowser::dismissInfoPopup);
    connect(m_menuView, &PhotoMenuView::btnOnMenuOptionTapped, presenter, &BatchPresenter::btnOnMenuOptionTapped);
    connect(m_noNewPhotos->btnRemoveFromBatchOnAlertWin(), &QPushButton::clicked, presenter, [presenter] {
        presenter->hideNoNewPhotosAlertWindow(true);
        presenter->btnRemoveFromBatchOnAlertTapped();
    });
    connect(m_noNewPhotos->btnOkonAlertWin(), &QPushButton::clicked, presenter,
        [presenter] { presenter->hideNoNewPhotosAlertWindow(true); });

    m_presenter->changePhotosViewImageMode(BatchViewMode::Grid);
    m_presenter->updateButtonsEnability();
    m_presenter->updateBatchInformationInBottomView();
}

BatchBrowser::~BatchBrowser()
{
    stopPopupMonitors();
    closePopup(m_infoWindow, m_infoView);
    closePopup(m_menuOptionsWindow, m_menuView);
}

IMGButton* BatchBrowser::modeButton(BatchViewMode mode) const
{
    return m_modeButtons[int(mode) - 1];
}

IMGButton* BatchBrowser::makeImageButton(const QString& objectName, const QString& accessibleName, QWidget* parent)
{
    auto* button = new IMGButton(parent);
    button->setCheckable(false); // its screen swaps its image; the button keeps no state of its own
    button->setObjectName(objectName);
    button->setAccessibleName(accessibleName);
    button->setToolTip(accessibleName);
    button->setFixedSize(kHeaderButtonSide, kHeaderButtonSide);
    return button;
}

void BatchBrowser::setButtonImage(IMGButton* button, const QString& imageName)
{
    // One picture for every state and phase, drawn over the whole button.
    for (const bool on : { false, true }) {
        for (const IMGButton::Phase phase :
            { IMGButton::Phase::Normal, IMGButton::Phase::Pressed, IMGButton::Phase::Disabled })
            button->setImages(on, phase, { QString(), imageName, QString() });
    }
    button->update();
}

QString BatchBrowser::imageNameOf(const IMGButton* button)
{
    return button->images(false, IMGButton::Phase::Normal).md;
}

void BatchBrowser::buildHeader()
{
    m_header = new QWidget(this);
    m_header->setObjectName(QStringLiteral("vwPhotosHeader"));
    m_header->setAccessibleName(tr("Batch header"));
    m_header->setFixedHeight(44);
    auto* row = new QHBoxLayout(m_header);
    row->setContentsMargins(10, 4, 12, 0);
    row->setSpacing(6);

    const char* names[] = { "btnListMode", "btnGridMode", "btnBigGridMode" };
    const char* lines[] = { "line_list", "line_thumbnail", "line_thumbnail_big" };
    const QString captions[] = { tr("List"), tr("Grid"), tr("Big grid") };
    for (int i = 0; i < 3; ++i) {
        auto* column = new QVBoxLayout;
        column->setSpacing(3);
        column->setContentsMargins(0, 0, 0, 0);
        auto* button = makeImageButton(QString::fromLatin1(names[i]), captions[i], m_header);
        button->setFixedSize(kModeButtonSide, kModeButtonSide);
        m_modeButtons[i] = button;
        auto* underline = new QWidget(m_header);
        underline->setObjectName(QString::fromLatin1(lines[i]));
        underline->setFixedSize(kModeButtonSide, 2);
        underline->setStyleSheet(QStringLiteral("background: rgb(66,180,211);"));
        m_underlines[i] = underline;
        column->addWidget(button);
        column->addWidget(underline);
        row->addLayout(column);
    }
    row->addSpacing(18);
    // The check box shows no text: the label beside it is its caption ("Select All" or "Unselect All"),
    // named after what it shows; the check box names itself apart.
    m_btnMarkAllOnGridHeader = makeImageButton("btnMarkAllOnGridHeader", tr("Select or unselect all"), m_header);
    m_lblMarkAllOngridHeader = new QLabel(QStringLiteral("Unselect All"), m_header);
    m_lblMarkAllOngridHeader->setObjectName(QStringLiteral("lblMarkAllOngridHeader"));
    m_lblMarkAllOngridHeader->setAccessibleName(m_lblMarkAllOngridHeader->text());
    m_lblMarkAllOngridHeader->setBuddy(m_btnMarkAllOnGridHeader);
    m_lblMarkAllOngridHeader->setStyleSheet(QStringLiteral("color: white;"));
    row->addWidget(m_btnMarkAllOnGridHeader);
    row->addWidget(m_lblMarkAllOngridHeader);
    row->addStretch(1);

    const QString textButton = QStringLiteral(
        "QPushButton { color: white; background: rgb(54,63,78); border: none; border-radius: 3px; padding: 4px 12px; }"
        "QPushButton:hover { background: rgb(66,180,211); }"
        "QPushButton:disabled { color: rgb(195,204,233); background: rgb(46,53,66); }");
    m_btnRemovePhoto = new QPushButton(tr("Remove"), m_header);
    m_btnRemovePhoto->setObjectName(QStringLiteral("btnRemovePhoto"));
    m_btnRemoveAllPhoto = new QPushButton(tr("Remove All"), m_header);
    m_btnRemoveAllPhoto->setObjectName(QStringLiteral("btnRemoveAllPhoto"));
    for (QPushButton* button : { m_btnRemovePhoto, m_btnRemoveAllPhoto }) {
        button->setAccessibleName(button->text());
        button->setStyleSheet(textButton);
        button->setCursor(Qt::PointingHandCursor);
        row->addWidget(button);
    }
}

// BatchView ------------------------------------------------------------------------------------

void BatchBrowser::showViewMode(BatchViewMode mode, const BatchViewModeLook& look, bool batchEmpty)
{
    m_grid->setMode(mode);
    m_btnMarkAllOnGridHeader->setVisible(look.gridHeaderShown);
    m_lblMarkAllOngridHeader->setVisible(look.gridHeaderShown);
    for (int i = 0; i < 3; ++i)
        m_underlines[i]->setVisible(m_underlines[i]->objectName() == look.underline);
    setButtonImage(m_modeButtons[0], look.listImage);
    setButtonImage(m_modeButtons[1], look.gridImage);
    setButtonImage(m_modeButtons[2], look.bigGridImage);
    if (batchEmpty) {
        m_stack->setCurrentWidget(m_emptyPage);
        return;
    }
    if (look.listShown) {
        m_stack->setCurrentWidget(m_list);
        m_list->batchModel()->reload();
        m_list->tableviewPhotosBoundDidChange();
    } else {
        m_stack->setCurrentWidget(m_grid);
        m_grid->reloadData();
        m_grid->collectionViewBoundsDidChange();
    }
}

void BatchBrowser::windowResizing()
{
    layoutListHeaderButtons();
}

void BatchBrowser::layoutListHeaderButtons()
{
    const auto x = BatchViewRules::headerButtonsX(m_list->width(), m_list->verticalScrollBar()->isVisible());
    const int y = (m_list->horizontalHeader()->height() - kHeaderButtonSide) / 2;
    m_btnRemoveAllOnTblHeader->move(x.removeAll, y);
    m_btnMarkAllOnTblHeader->move(x.markAll, y);
    m_btnRemoveAllOnTblHeader->raise();
    m_btnMarkAllOnTblHeader->raise();
}

void BatchBrowser::reloadCheckMark(qsizetype index)
{
    if (m_stack->currentWidget() == m_list)
        m_list->batchModel()->checkChanged(int(index));
    else
        m_grid->reloadCheckMark(index);
}

void BatchBrowser::reloadVisibleView()
{
    if (m_stack->currentWidget() == m_grid) {
        m_grid->reloadData();
        m_grid->collectionViewBoundsDidChange();
    } else {
        m_list->batchModel()->reload();
        m_list->tableviewPhotosBoundDidChange();
    }
}

void BatchBrowser::reloadBothViews()
{
    m_list->batchModel()->reload();
    m_grid->reloadData();
    if (m_stack->currentWidget() == m_grid)
        m_grid->collectionViewBoundsDidChange();
    else
        m_list->tableviewPhotosBoundDidChange();
}

void BatchBrowser::removeListRow(qsizetype)
{
    m_list->batchModel()->reload();
    m_list->tableviewPhotosBoundDidChange();
    m_grid->reloadData();
}

void BatchBrowser::setButtons(const BatchButtonsLook& look)
{
    for (QAbstractButton* button : std::initializer_list<QAbstractButton*> { m_btnRemoveAllOnTblHeader,
             m_btnMarkAllOnTblHeader, m_btnMarkAllOnGridHeader, m_btnRemovePhoto, m_btnRemoveAllPhoto })
        button->setEnabled(look.enabled);
    if (!look.enabled)
        return;
    setButtonImage(m_btnMarkAllOnTblHeader, look.markAllImage);
    setButtonImage(m_btnMarkAllOnGridHeader, look.markAllImage);
    m_lblMarkAllOngridHeader->setText(look.markAllLabel);
    m_lblMarkAllOngridHeader->setAccessibleName(look.markAllLabel);
}

void BatchBrowser::setBatchLine(const BatchInfoLine::Styled& line)
{
    m_lblBatchInfo->setText(BatchInfoLine::toHtml(line));
}

void BatchBrowser::closeThumbnailWork()
{
    m_list->closeThumbnailWork();
    m_grid->closeThumbnailWork();
}

void BatchBrowser::showNotAvailableOnCell(qsizetype index)
{
    m_grid->showNotAvailable(index);
}

void BatchBrowser::showNoNewPhotosAlert(const QString& title, const QString& message, AlertSheetButton button)
{
    m_noNewPhotos->lblAlertTitleOnALertwin()->setText(title);
    m_noNewPhotos->lblAlertMsgOnAlertWin()->setText(message);
    m_noNewPhotos->btnRemoveFromBatchOnAlertWin()->setVisible(button == AlertSheetButton::RemoveFromBatch);
    m_noNewPhotos->btnOkonAlertWin()->setVisible(button == AlertSheetButton::Ok);
    m_noNewPhotosSheet = Sheet::beginSheet(window(), m_noNewPhotos);
}

void BatchBrowser::hideNoNewPhotosAlert()
{
    if (m_noNewPhotosSheet)
        m_noNewPhotosSheet->endSheet();
    m_noNewPhotos->hide();
}

TorAttachedWindow* BatchBrowser::attachPopup(
    QWidget* content, QPoint at, int side, bool arrow, const QColor& background, void (BatchBrowser::*dismiss)())
{
    TorAttachedWindow* popup = TorAttachedWindow::initWithView(
        content, TorAttachedWindow::pointInWindow(this, at), window(), side, kPopupDistance);
    if (!popup)
        return nullptr;
    popup->setBorderColor(Qt::transparent);
    popup->setBackgroundColor(background);
    popup->setHasArrow(arrow ? 1 : 0);
    if (arrow)
        popup->setCornerRadius(0);
    // Gone with the batch's screen, whatever input (or program) left the step.
    popup->setOwner(this);
    connect(popup, &TorAttachedWindow::ownerLeft, this, dismiss);
    content->show();
    popup->show();
    popup->raise();
    // One pair of monitors for every popup: the last opened one is watched.
    stopPopupMonitors();
    QPointer<TorAttachedWindow> guard(popup);
    m_mouseEventMonitor = new LocalMouseMonitor(this, LocalMouseMonitor::allButtons(),
        [this, guard, dismiss](QWidget* receiver, Qt::MouseButton, const QPointF&) {
            if (guard && (receiver == guard || guard->isAncestorOf(receiver)))
                return;
            (this->*dismiss)();
        });
    m_escapeMonitor = new EscapeKeyMonitor(this, window(), [this, dismiss] { (this->*dismiss)(); });
    return popup;
}

void BatchBrowser::stopPopupMonitors()
{
    delete m_mouseEventMonitor;
    delete m_escapeMonitor;
}

void BatchBrowser::closePopup(QPointer<TorAttachedWindow>& popup, QWidget* content)
{
    if (!popup)
        return;
    // The popup owns its view: take the view back before the popup goes.
    content->hide();
    content->setParent(this);
    popup->hide();
    popup->deleteLater();
    popup = nullptr;
}

void BatchBrowser::showInfoPopup(QPoint at, const QList<PhotoInfoRows::Row>& rows)
{
    closePopup(m_infoWindow, m_infoView);
    m_infoView->setRows(rows);
    m_infoWindow = attachPopup(m_infoView, at, kAutomaticSide, true, kPopup, &BatchBrowser::dismissInfoPopup);
}

void BatchBrowser::dismissInfoPopup()
{
    if (!m_infoWindow)
        return;
    stopPopupMonitors();
    closePopup(m_infoWindow, m_infoView);
}

void BatchBrowser::showPhotoMenu(QPoint at)
{
    closePopup(m_menuOptionsWindow, m_menuView);
    // To the right of the pointer and below it; on the other side of the pointer where the menu
    // would cross the window's edge (the popup then still keeps itself inside).
    const int half = m_menuView->width() / 2;
    const QRectF room(QPointF(0, 0), QSizeF(window()->size()));
    const struct {
        int dx;
        int side;
    } tries[] = { { half, kMenuSide }, { -half, kMenuSide }, { half, TorSideAbove }, { -half, TorSideAbove } };
    QPoint anchor(at.x() + half, at.y());
    int side = kMenuSide;
    for (const auto& place : tries) {
        const QPoint candidate(at.x() + place.dx, at.y());
        const QRectF frame = TorAttachedWindowGeometry::windowFrame(TorAttachedWindow::pointInWindow(this, candidate),
            QSizeF(m_menuView->size()), place.side, kPopupDistance, TorAttachedMetrics {});
        if (room.contains(frame)) {
            anchor = candidate;
            side = place.side;
            break;
        }
    }
    m_menuOptionsWindow
        = attachPopup(m_menuView, anchor, side, false, Qt::transparent, &BatchBrowser::dismissPhotoMenu);
}

void BatchBrowser::openPhotoMenuByKey(QPoint at, qsizetype index, QWidget* from)
{
    m_presenter->showMenuForIndex(at, index);
    if (!m_menuOptionsWindow)
        return;
    m_menuKeyboardOwner = from;
    m_menuView->focusFirstItem();
}

void BatchBrowser::dismissPhotoMenu()
{
    if (!m_menuOptionsWindow)
        return;
    // The keyboard goes back where the menu took it from, before the menu's items hide (a hidden
    // focused item would hand it to the next control of the window).
    const QPointer<QWidget> owner = m_menuKeyboardOwner;
    m_menuKeyboardOwner = nullptr;
    const bool menuHasKeyboard = m_menuView->isAncestorOf(QApplication::focusWidget());
    if (owner && menuHasKeyboard && owner->isVisible())
        owner->setFocus(Qt::OtherFocusReason);
    stopPopupMonitors();
    closePopup(m_menuOptionsWindow, m_menuView);
}

// ButtonTableCellDelegate ----------------------------------------------------------------------

void BatchBrowser::btnInfoTappedAtLocationInTableView(QPoint location, qsizetype index)
{
    // The popup's arrow points into the row's info control.
    m_presenter->btnInfoTapped(mapFrom(window(), location) + QPoint(16, 10), index);
}

void BatchBrowser::btnDeleteTappedAtLocationInTableView(QPoint location, qsizetype index)
{
    m_presenter->btnDeleteTappedAtLocationInTableView(location, index);
}

void BatchBrowser::btnCheckTappedAtLocationInTableView(QPoint location, qsizetype index)
{
    m_presenter->btnCheckTappedAtLocationInTableView(location, index);
}

bool BatchBrowser::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    if ((watched == m_list || watched == m_list->verticalScrollBar())
        && (type == QEvent::Resize || type == QEvent::Show || type == QEvent::Hide))
        layoutListHeaderButtons();
    return QWidget::eventFilter(watched, event);
}

void BatchBrowser::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    windowResizing();
}

void BatchBrowser::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (BatchViewRules::isModifierKey(event->key())
        || !m_presenter->keyDown(
            mods & Qt::ControlModifier, mods & Qt::ShiftModifier, mods & Qt::AltModifier, mods & Qt::MetaModifier))
        QWidget::keyPressEvent(event);
}

bool BatchBrowser::focusNextPrevChild(bool next)
{
    QList<QWidget*> order = ReadingOrder::controls(window());
    if (!order.contains(QApplication::focusWidget()) || !order.contains(m_list))
        return QWidget::focusNextPrevChild(next);
    QList<QWidget*> headerButtons;
    for (QWidget* control : std::as_const(order)) {
        if (control->parentWidget() == m_list)
            headerButtons.append(control);
    }
    for (QWidget* button : std::as_const(headerButtons))
        order.removeOne(button);
    const qsizetype list = order.indexOf(m_list);
    for (qsizetype i = 0; i < headerButtons.size(); ++i)
        order.insert(list + i, headerButtons.at(i));
    ReadingOrder::moveFocus(order, next);
    return true;
}

} // namespace vantrel
