#include "screens/AddPhotos/AddPhotosVC.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QVBoxLayout>

#include "components/HighlightedButton.h"
#include "components/Sheet.h"
#include "components/WyProgressIndicator.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "core/ResourceImages.h"
#include "platform/NotificationCenter.h"
#include "screens/AddPhotos/DragDropBox.h"
#include "screens/Batch/BatchArea.h"
#include "screens/Batch/DropAreaAnimator.h"
#include "screens/Batch/OptionPopups.h"

namespace vantrel {

namespace {

const QColor kPanel(36, 41, 50);
const QColor kField(54, 63, 78);
const QColor kAccent(66, 180, 211);
const QColor kDisabledLabel(195, 204, 233);

HighlightedButton* makeButton(QWidget* parent, const char* name, const QString& title, int tag)
{
    auto* button = new HighlightedButton(title, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(title);
    button->setTag(tag);
    button->awakeFromNib();
    button->setMinimumHeight(30);
    return button;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QColor& colour, int pointSize = 0)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    if (pointSize > 0) {
        QFont font = label->font();
        font.setPointSize(pointSize);
        label->setFont(font);
    }
    return label;
}

void fill(QWidget* widget, const QColor& colour)
{
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
}

} // namespace

AddPhotosVC::AddPhotosVC(QWidget* parent, RunExecutor* executor)
    : QWidget(parent)
    , m_logic(std::make_unique<AddPhotosLogic>(this, executor))
{
    setObjectName(QStringLiteral("AddPhotosVC"));
    buildInterface();
    registerObservers();
    m_logic->startObservingDrops();
    m_vWAddingPhotos->hide();
    m_progressIndicator->setMinValue(0);
    m_progressIndicator->setMaxValue(100);
    enableDragDrop(true);
    hideDragnDropImageSetHidden(!AppDelegate::shareDelegate()->arraySelectedImagesToProcess.isEmpty());

    // The drop area's animation: images "1" to "19" on the middle button every 0.2 s, only while
    // the button shows.
    new DropAreaAnimator(m_btnAddPhotos_center);
    m_optionPopups = new OptionPopups(this);
    connect(m_optionPopups, &OptionPopups::addOptionChosen, this, [this](int row) {
        if (row == 3)
            btnAddIphotosTapped();
        else
            btnAddPhotosTappedWithIndex(row);
    });
    m_batchViewsArea = new BatchArea(this);
}

AddPhotosVC::~AddPhotosVC()
{
    NotificationCenter::defaultCenter().removeObserver(this);
    if (m_sheet)
        m_sheet->endSheet();
}

void AddPhotosVC::buildInterface()
{
    fill(this, kPanel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 8);
    layout->setSpacing(8);
    layout->addWidget(buildToolbar());

    auto* middle = new QWidget(this);
    middle->setObjectName(QStringLiteral("vwMiddle"));
    auto* middleLayout = new QHBoxLayout(middle);
    middleLayout->setContentsMargins(0, 0, 0, 0);
    middleLayout->setSpacing(8);
    middleLayout->addWidget(buildDropArea(), 1);

    m_batchViews = new QWidget(middle);
    m_batchViews->setObjectName(QStringLiteral("vwBatchViews"));
    auto* batchLayout = new QVBoxLayout(m_batchViews);
    batchLayout->setContentsMargins(0, 0, 0, 0);
    middleLayout->addWidget(m_batchViews, 1);

    m_vWImageMetadata = new QWidget(middle);
    m_vWImageMetadata->setObjectName(QStringLiteral("vWImageMetadata"));
    m_vWImageMetadata->setAccessibleName(QStringLiteral("Photo information"));
    auto* metadataLayout = new QVBoxLayout(m_vWImageMetadata);
    metadataLayout->setContentsMargins(0, 0, 0, 0);
    middleLayout->addWidget(m_vWImageMetadata);
    layout->addWidget(middle, 1);

    m_lblBatchInfo = makeLabel(this, "lblBatchInfo", QColor(184, 184, 184));
    m_lblBatchInfo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_lblBatchInfo->setAccessibleName(QStringLiteral("Batch information"));
    layout->addWidget(m_lblBatchInfo);

    m_winAddingPhotos = buildProgressSheet();
}

QWidget* AddPhotosVC::buildToolbar()
{
    m_vwPhotosHeader = new QWidget(this);
    m_vwPhotosHeader->setObjectName(QStringLiteral("vwPhotosHeader"));
    auto* row = new QHBoxLayout(m_vwPhotosHeader);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    auto* title = makeLabel(m_vwPhotosHeader, "lblAddPhotosTitle", Qt::white, 13);
    title->setText(QStringLiteral("Add photos to the batch"));
    row->addWidget(title);
    row->addStretch(1);
    m_btnAddPhotos = makeButton(m_vwPhotosHeader, "btnAddPhotos", QStringLiteral("Add Photos"), 109);
    m_btnAddFolder = makeButton(m_vwPhotosHeader, "btnAddFolder", QStringLiteral("Add Folder"), 109);
    m_btnAddPhotosLibrary
        = makeButton(m_vwPhotosHeader, "btnAddPhotosLibrary", QStringLiteral("Add Photos Library"), 111);
    m_btnAddMorePhotos = makeButton(m_vwPhotosHeader, "btnAddMorePhotos", QStringLiteral("More..."), 111);
    m_btnAddMorePhotos->setAccessibleName(QStringLiteral("More ways to add photos"));
    for (HighlightedButton* button : { m_btnAddPhotos, m_btnAddFolder, m_btnAddPhotosLibrary, m_btnAddMorePhotos }) {
        // Room for the caption with some air on both sides ("Add Photos Library" is the widest).
        button->setMinimumWidth(std::max(112, button->fontMetrics().horizontalAdvance(button->text()) + 24));
        row->addWidget(button);
    }
    connect(m_btnAddPhotos, &QPushButton::clicked, this, &AddPhotosVC::btnAddPhotosTapped);
    connect(m_btnAddFolder, &QPushButton::clicked, this, &AddPhotosVC::btnAddFolderTapped);
    connect(m_btnAddPhotosLibrary, &QPushButton::clicked, this, &AddPhotosVC::btnAddIphotosTapped);
    connect(m_btnAddMorePhotos, &QPushButton::clicked, this, &AddPhotosVC::btnAddMorePhotosTapped);
    return m_vwPhotosHeader;
}

QWidget* AddPhotosVC::buildDropArea()
{
    m_viewDragNDrop = new QWidget(this);
    m_viewDragNDrop->setObjectName(QStringLiteral("viewDragNDrop"));
    auto* outer = new QVBoxLayout(m_viewDragNDrop);
    outer->setContentsMargins(0, 0, 0, 0);
    m_leftBox = new DragDropBox(m_viewDragNDrop);
    m_leftBox->setObjectName(QStringLiteral("leftBox"));
    outer->addWidget(m_leftBox);

    auto* inner = new QVBoxLayout(m_leftBox);
    inner->setContentsMargins(24, 24, 24, 24);
    inner->setSpacing(12);
    inner->addStretch(1);
    m_btnAddPhotos_center = new QPushButton(m_leftBox);
    m_btnAddPhotos_center->setObjectName(QStringLiteral("btnAddPhotos_center"));
    m_btnAddPhotos_center->setAccessibleName(QStringLiteral("Add a folder of photos"));
    m_btnAddPhotos_center->setFlat(true);
    m_btnAddPhotos_center->setCursor(Qt::PointingHandCursor);
    m_btnAddPhotos_center->setIconSize(QSize(120, 120));
    m_btnAddPhotos_center->setFixedSize(132, 132);
    m_btnAddPhotos_center->setIcon(QPixmap::fromImage(ResourceImages::named(QStringLiteral("1"))));
    m_btnAddPhotos_center->setStyleSheet(QStringLiteral("QPushButton { border: none; background: transparent; }"));
    inner->addWidget(m_btnAddPhotos_center, 0, Qt::AlignHCenter);
    connect(m_btnAddPhotos_center, &QPushButton::clicked, this, &AddPhotosVC::btnAddphotosInMiddleTapped);

    m_lblDropHint = makeLabel(m_leftBox, "lblDragDropHint", Qt::white, 15);
    m_lblDropHint->setText(QStringLiteral("Drag & drop photos or folders here"));
    m_lblDropHint->setAlignment(Qt::AlignCenter);
    inner->addWidget(m_lblDropHint);
    auto* subHint = makeLabel(m_leftBox, "lblDragDropSubHint", kDisabledLabel);
    subHint->setText(QStringLiteral("or click the icon to add a folder with its subfolders"));
    subHint->setAlignment(Qt::AlignCenter);
    inner->addWidget(subHint);

    // The in-screen progress view, shown while a run fills an empty batch.
    m_vWAddingPhotos = new QWidget(m_leftBox);
    m_vWAddingPhotos->setObjectName(QStringLiteral("vWAddingPhotos"));
    auto* progress = new QVBoxLayout(m_vWAddingPhotos);
    progress->setContentsMargins(0, 8, 0, 0);
    m_txtCurrentProgress = makeLabel(m_vWAddingPhotos, "txtCurrentProgress", kAccent);
    m_txtCurrentProgress->setAlignment(Qt::AlignCenter);
    m_txtCurrentProgress->setWordWrap(true);
    m_txtCurrentProgress->setText(QStringLiteral("Please wait while importing photos"));
    m_txtCurrentProgress->setAccessibleName(QStringLiteral("Import progress"));
    progress->addWidget(m_txtCurrentProgress);
    m_btnstopOnAddPhotos = makeButton(m_vWAddingPhotos, "btnstopOnAddPhotos", QStringLiteral("Stop"), 111);
    m_btnstopOnAddPhotos->setFixedWidth(96);
    progress->addWidget(m_btnstopOnAddPhotos, 0, Qt::AlignHCenter);
    connect(m_btnstopOnAddPhotos, &QPushButton::clicked, this, &AddPhotosVC::btnStopAddingTapped);
    inner->addWidget(m_vWAddingPhotos);
    inner->addStretch(1);
    return m_viewDragNDrop;
}

QWidget* AddPhotosVC::buildProgressSheet()
{
    auto* sheet = new QWidget(this);
    sheet->setObjectName(QStringLiteral("winAddingPhotos"));
    sheet->setAccessibleName(QStringLiteral("Adding photos"));
    fill(sheet, kField);
    sheet->setFixedSize(460, 170);
    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->setSpacing(8);
    m_txtCurrentProgressOnWin = makeLabel(sheet, "txtCurrentProgressOnWin", Qt::white, 13);
    m_txtCurrentProgressOnWin->setAccessibleName(QStringLiteral("Photos added"));
    layout->addWidget(m_txtCurrentProgressOnWin);
    m_progressIndicator = new WyProgressIndicator(sheet);
    m_progressIndicator->setObjectName(QStringLiteral("progressIndicator"));
    m_progressIndicator->setAccessibleName(QStringLiteral("Adding photos progress"));
    m_progressIndicator->setIndeterminate(true);
    m_progressIndicator->setFixedHeight(20);
    layout->addWidget(m_progressIndicator);
    m_lblFilePathOnPopup = makeLabel(sheet, "lblFilePathOnPopup", kDisabledLabel);
    m_lblFilePathOnPopup->setAccessibleName(QStringLiteral("Current photo"));
    m_lblFilePathOnPopup->setMinimumWidth(10);
    m_lblFilePathOnPopup->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    layout->addWidget(m_lblFilePathOnPopup);
    layout->addStretch(1);
    auto* stop = makeButton(sheet, "btnStopAddingOnWin", QStringLiteral("Stop"), 111);
    stop->setFixedWidth(96);
    layout->addWidget(stop, 0, Qt::AlignRight);
    connect(stop, &QPushButton::clicked, this, &AddPhotosVC::btnStopAddingTapped);
    Sheet::setCancelButton(stop); // Escape stops adding, as the button does
    sheet->hide();
    return sheet;
}

void AddPhotosVC::registerObservers()
{
    auto& centre = NotificationCenter::defaultCenter();
    centre.addObserver(this, QString::fromLatin1(kNotificationsEnable), [this](const Notification&) {
        AppDelegate::shareDelegate()->isSubWindowOpened = false;
        setAddButtonsEnabled(true);
    });
    centre.addObserver(this, QString::fromLatin1(kNotificationsDisbleView), [this](const Notification&) {
        AppDelegate::shareDelegate()->isSubWindowOpened = false;
        setAddButtonsEnabled(false);
    });
    centre.addObserver(this, QString::fromLatin1(kNotificationsProcessSkippedFiles), [this](const Notification&) {
        if (m_batchArea)
            m_batchArea->processWithSkippedFilesNotification();
    });
    for (const char* name : { kNotificationWindowResized, kNotificationWindowEndResizing })
        centre.addObserver(this, QString::fromLatin1(name), [this](const Notification&) {
            if (m_batchArea)
                m_batchArea->windowResizing();
        });
}

void AddPhotosVC::setAddButtonsEnabled(bool enabled)
{
    for (HighlightedButton* button : { m_btnAddFolder, m_btnAddPhotos, m_btnAddPhotosLibrary })
        button->setEnabled(enabled);
}

} // namespace vantrel
