#include "screens/Panes/SettingView.h"

#include <algorithm>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <cstdio>
#include <utility>

#include "components/CustomOpenPanel.h"
#include "components/FocusRing.h"
#include "components/OnlyIntegerValueFormatter.h"
#include "core/AppDelegate.h"
#include "platform/Paths.h"
#include "screens/Panes/OptionsPopup.h"
#include "screens/Panes/PaneLook.h"

namespace vantrel {

namespace {

QLabel* valueLabel(const QString& name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setAccessibleName(name);
    label->setMinimumWidth(80);
    // The fill comes from the palette: the label's style sheet carries its lit colour.
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, QColor(54, 63, 78));
    label->setPalette(palette);
    label->setMargin(4);
    return label;
}

} // namespace

SettingView::SettingView(QWidget* parent)
    : QWidget(parent)
    , m_popup(new OptionsPopup(this))
{
    setObjectName(QStringLiteral("vwSetting"));
    setAccessibleName(QStringLiteral("Output settings"));
    buildControls();
    QTimer::singleShot(20, this, &SettingView::initSetup);
}

void SettingView::buildControls()
{
    m_rbKeepOriginalFormat = new QRadioButton(QStringLiteral("Keep original format"), this);
    m_rbConvertToFormat = new QRadioButton(QStringLiteral("Convert to"), this);
    m_lblSelectedFormat = valueLabel(QStringLiteral("Chosen format"), this);
    m_btnSelectFormat = PaneLook::makeButton(QStringLiteral("▾"), QStringLiteral("Choose format"), this);
    m_btnResetFormat = PaneLook::makeResetLink(QStringLiteral("Reset format"), this);
    m_vwCompressionQuality = new QWidget(this);
    m_lblCompressionQuality = new QLabel(QStringLiteral("Quality (1-100)"), m_vwCompressionQuality);
    m_txtCompressionQuality = new QLineEdit(m_vwCompressionQuality);
    m_txtCompressionQuality->setAccessibleName(QStringLiteral("Quality"));
    m_txtCompressionQuality->setFixedWidth(50);
    PaneLook::styleField(m_txtCompressionQuality);
    auto* qualityFormatter = new OnlyIntegerValueFormatter(m_txtCompressionQuality);
    qualityFormatter->setMaximumValue(SettingModel::kMaxQuality);
    m_txtCompressionQuality->setValidator(qualityFormatter);
    m_btnUpcompression = PaneLook::makeStepper(true, QStringLiteral("Quality up"), m_vwCompressionQuality);
    m_btnDowncompression = PaneLook::makeStepper(false, QStringLiteral("Quality down"), m_vwCompressionQuality);
    auto* quality = new QHBoxLayout(m_vwCompressionQuality);
    quality->setContentsMargins(0, 0, 0, 0);
    quality->addWidget(m_lblCompressionQuality);
    quality->addWidget(m_txtCompressionQuality);
    auto* qualitySteps = new QVBoxLayout;
    qualitySteps->setSpacing(0);
    qualitySteps->addWidget(m_btnUpcompression);
    qualitySteps->addWidget(m_btnDowncompression);
    quality->addLayout(qualitySteps);
    quality->addStretch(1);

    m_lblSelectedFileName = valueLabel(QStringLiteral("Chosen naming"), this);
    m_lblSelectedFileName->setMinimumWidth(150);
    m_btnSelectFilename = PaneLook::makeButton(QStringLiteral("▾"), QStringLiteral("Choose naming"), this);
    m_btnResetFilename = PaneLook::makeResetLink(QStringLiteral("Reset naming"), this);
    m_vwAddsuffix = new QWidget(this);
    m_lblSuffix = new QLabel(m_vwAddsuffix);
    m_txtSuffix = new QLineEdit(m_vwAddsuffix);
    m_txtSuffix->setAccessibleName(QStringLiteral("Prefix or suffix"));
    PaneLook::styleField(m_txtSuffix);
    auto* suffix = new QHBoxLayout(m_vwAddsuffix);
    suffix->setContentsMargins(0, 0, 0, 0);
    suffix->addWidget(m_lblSuffix);
    suffix->addWidget(m_txtSuffix, 1);

    m_rbKeepOriginalFolder = new QRadioButton(QStringLiteral("Save beside the originals"), this);
    m_rbOutputToFolder = new QRadioButton(QStringLiteral("Save to folder"), this);
    m_lblSelectedFolder = valueLabel(QStringLiteral("Output folder"), this);
    m_lblSelectedFolder->setMinimumWidth(100);
    m_lblSelectedFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_btnSelectFolder = PaneLook::makeButton(QStringLiteral("Browse…"), QStringLiteral("Choose output folder"), this);
    m_btnResetFolder = PaneLook::makeResetLink(QStringLiteral("Reset folder"), this);
    m_checkKeepFolderHierarchy = new QCheckBox(QStringLiteral("Keep folder hierarchy"), this);
    m_checkAskBeforeOverwrite = new QCheckBox(QStringLiteral("Ask before overwriting files"), this);
    for (QRadioButton* radio :
        { m_rbKeepOriginalFormat, m_rbConvertToFormat, m_rbKeepOriginalFolder, m_rbOutputToFolder }) {
        radio->setAutoExclusive(false);
        radio->setAccessibleName(radio->text());
    }
    m_checkKeepFolderHierarchy->setAccessibleName(m_checkKeepFolderHierarchy->text());
    m_checkAskBeforeOverwrite->setAccessibleName(m_checkAskBeforeOverwrite->text());

    const auto pair = [](QLabel* label, QAbstractButton* button) {
        auto* row = new QHBoxLayout;
        row->setSpacing(0);
        row->addWidget(label, 1);
        row->addWidget(button);
        button->setFixedWidth(28);
        return row;
    };
    // Three sections: format and file name share the left half, the output folder takes the right
    // half (the main screen keeps their x and width in step with the window).
    const auto section = [this](const char* name, const QString& title) {
        auto* box = new QWidget(this);
        box->setObjectName(QString::fromLatin1(name));
        // The folder's value label is named "Output folder": the section names itself apart.
        box->setAccessibleName(title + QStringLiteral(" section"));
        auto* grid = new QGridLayout(box);
        grid->setContentsMargins(16, 12, 16, 4);
        grid->setHorizontalSpacing(8);
        grid->setVerticalSpacing(10);
        QLabel* heading = PaneLook::makeTitle(title, box);
        grid->addWidget(heading, 0, 0, 1, 3);
        grid->setColumnStretch(1, 1);
        return std::pair { box, grid };
    };

    auto [formatBox, format] = section("vwOutputFormat", QStringLiteral("Format"));
    format->addWidget(m_rbKeepOriginalFormat, 1, 0, 1, 3);
    format->addWidget(m_rbConvertToFormat, 2, 0);
    format->addLayout(pair(m_lblSelectedFormat, m_btnSelectFormat), 2, 1);
    format->addWidget(m_btnResetFormat, 2, 2);
    format->addWidget(m_vwCompressionQuality, 3, 1, 1, 2);

    auto [namingBox, naming] = section("vwOutputFilename", QStringLiteral("File name"));
    naming->addLayout(pair(m_lblSelectedFileName, m_btnSelectFilename), 1, 0, 1, 2);
    naming->addWidget(m_btnResetFilename, 1, 2);
    naming->addWidget(m_vwAddsuffix, 2, 0, 1, 2);

    auto [folderBox, folder] = section("vwOutputFolder", QStringLiteral("Output folder"));
    folder->addWidget(m_rbKeepOriginalFolder, 1, 0, 1, 3);
    folder->addWidget(m_rbOutputToFolder, 2, 0, 1, 3);
    auto* path = new QHBoxLayout;
    path->setContentsMargins(24, 0, 0, 0);
    path->addWidget(m_lblSelectedFolder, 1);
    path->addWidget(m_btnSelectFolder);
    folder->addLayout(path, 3, 0, 1, 2);
    folder->addWidget(m_btnResetFolder, 3, 2);
    folder->addWidget(m_checkKeepFolderHierarchy, 4, 0, 1, 3);
    folder->addWidget(m_checkAskBeforeOverwrite, 5, 0, 1, 3);

    // The left half is one panel, so the keyboard reads it whole (format, then file name) before
    // the output folder beside it, as the step is read.
    auto* leftHalf = new QWidget(this);
    leftHalf->setObjectName(QStringLiteral("vwOutputFormatAndName"));
    auto* left = new QVBoxLayout(leftHalf);
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(0);
    left->addWidget(formatBox);
    left->addWidget(namingBox);
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->setSpacing(0);
    right->addWidget(folderBox);
    right->addStretch(1);
    auto* halves = new QHBoxLayout(this);
    halves->setContentsMargins(0, 0, 0, 0);
    halves->setSpacing(0);
    halves->addWidget(leftHalf, 1);
    halves->addLayout(right, 1);

    connect(m_rbKeepOriginalFormat, &QRadioButton::clicked, this, &SettingView::btnKeepOriginalFormatTapped);
    connect(m_rbConvertToFormat, &QRadioButton::clicked, this, &SettingView::btnConvertFormatTapped);
    connect(m_btnResetFormat, &QAbstractButton::clicked, this, &SettingView::btnResetFormatTapped);
    connect(m_btnSelectFormat, &QAbstractButton::clicked, this, &SettingView::btnSelectFormatTapped);
    connect(m_btnSelectFilename, &QAbstractButton::clicked, this, &SettingView::btnSelectFilenameTapped);
    connect(m_btnResetFilename, &QAbstractButton::clicked, this, &SettingView::btnResetFilenameTapped);
    connect(m_rbKeepOriginalFolder, &QRadioButton::clicked, this, &SettingView::btnKeepOriginalFolderTapped);
    connect(m_rbOutputToFolder, &QRadioButton::clicked, this, &SettingView::btnOutputToFolderTapped);
    connect(m_btnSelectFolder, &QAbstractButton::clicked, this, &SettingView::btnSelectFolderTapped);
    connect(m_btnResetFolder, &QAbstractButton::clicked, this, &SettingView::btnResetFolderTapped);
    connect(m_btnUpcompression, &QAbstractButton::clicked, this, [this] {
        m_model.stepQuality(true);
        refresh();
    });
    connect(m_btnDowncompression, &QAbstractButton::clicked, this, [this] {
        m_model.stepQuality(false);
        refresh();
    });
    connect(m_txtCompressionQuality, &QLineEdit::textEdited, this,
        [this](const QString& text) { m_model.setQualityText(text); });
    connect(m_txtSuffix, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_model.suffixEdited(text);
        refresh();
    });
    connect(m_checkKeepFolderHierarchy, &QCheckBox::clicked, this, [this](bool on) {
        m_model.setKeepFolderHierarchy(on);
        m_hierarchyLit = on;
        refresh();
    });
    connect(m_checkAskBeforeOverwrite, &QCheckBox::clicked, this, [this](bool on) {
        m_model.setAskBeforeOverwrite(on);
        m_askLit = on;
        refresh();
    });
    refresh();
}

QFileDialog* SettingView::folderPanel() const
{
    return m_folderPanel;
}

void SettingView::initSetup()
{
    if (m_isSetUp)
        return;
    m_isSetUp = true;
    m_model.initSetup();
    m_hierarchyLit = true;
    m_askLit = true;
    refresh();
}

void SettingView::refresh()
{
    const bool convert = m_model.isConvertFormat();
    m_rbKeepOriginalFormat->setChecked(!convert);
    m_rbConvertToFormat->setChecked(convert);
    PaneLook::setLabelLit(m_rbKeepOriginalFormat, !convert);
    PaneLook::setLabelLit(m_rbConvertToFormat, convert);
    PaneLook::setLabelLit(m_lblSelectedFormat, convert);
    PaneLook::setLabelLit(m_lblCompressionQuality, convert);
    m_lblSelectedFormat->setText(m_model.selectedFormatTitle());
    for (QWidget* control : { static_cast<QWidget*>(m_btnSelectFormat), static_cast<QWidget*>(m_btnResetFormat),
             static_cast<QWidget*>(m_txtCompressionQuality), static_cast<QWidget*>(m_btnUpcompression),
             static_cast<QWidget*>(m_btnDowncompression) })
        control->setEnabled(convert);
    m_vwCompressionQuality->setVisible(m_model.isQualityBoxVisible());
    PaneLook::setTextKeepingCursor(m_txtCompressionQuality, m_model.qualityText());

    m_lblSelectedFileName->setText(m_model.selectedFileNameText());
    PaneLook::setLabelLit(m_lblSelectedFileName, true);
    m_btnResetFilename->setEnabled(m_model.isResetFilenameEnabled());
    m_vwAddsuffix->setVisible(m_model.isSuffixBoxVisible());
    m_lblSuffix->setText(m_model.suffixLabel());
    PaneLook::setLabelLit(m_lblSuffix, true);
    PaneLook::setTextKeepingCursor(m_txtSuffix, m_model.suffixText());
    m_txtSuffix->setPlaceholderText(m_model.suffixPlaceholder());
    QPalette palette = m_txtSuffix->palette();
    palette.setColor(QPalette::PlaceholderText, QColor(220, 220, 220));
    m_txtSuffix->setPalette(palette);

    const bool toFolder = m_model.isOutputToFolder();
    m_rbKeepOriginalFolder->setChecked(!toFolder);
    m_rbOutputToFolder->setChecked(toFolder);
    PaneLook::setLabelLit(m_rbKeepOriginalFolder, !toFolder);
    PaneLook::setLabelLit(m_rbOutputToFolder, toFolder);
    PaneLook::setLabelLit(m_lblSelectedFolder, toFolder);
    m_lblSelectedFolder->setText(m_model.outputFolder());
    m_lblSelectedFolder->setToolTip(m_model.outputFolder());
    m_btnSelectFolder->setEnabled(toFolder);
    m_btnResetFolder->setEnabled(m_model.isResetFolderEnabled());
    m_checkKeepFolderHierarchy->setEnabled(m_model.isKeepFolderHierarchyEnabled());
    m_checkKeepFolderHierarchy->setChecked(m_model.isKeepFolderHierarchy());
    PaneLook::setLabelLit(m_checkKeepFolderHierarchy, m_model.isKeepFolderHierarchyEnabled() && m_hierarchyLit);
    m_checkAskBeforeOverwrite->setChecked(m_model.isAskBeforeOverwrite());
    PaneLook::setLabelLit(m_checkAskBeforeOverwrite, m_askLit);
}

void SettingView::setOutputSettingObject(const OutputOptionSettings& settings)
{
    initSetup(); // a restore right after creation must not be undone by the scheduled set-up
    m_model.setOutputSettingObject(settings);
    refresh();
}

void SettingView::btnKeepOriginalFormatTapped()
{
    m_model.setUIforFormatType(0);
    refresh();
}

void SettingView::btnConvertFormatTapped()
{
    m_model.setUIforFormatType(1);
    refresh();
}

void SettingView::formatSelectionChangedWithIndex(int index)
{
    m_model.formatSelectionChangedWithIndex(index);
    refresh();
}

void SettingView::filenameSelectionChangedWithIndex(int index)
{
    m_model.filenameSelectionChangedWithIndex(index);
    refresh();
    if (m_model.isSuffixBoxVisible())
        m_txtSuffix->setFocus();
}

void SettingView::btnSelectFormatTapped()
{
    QStringList rows;
    for (int i = 0; i < int(OutputOptionSettings::kOutputFormats.size()); ++i)
        rows << SettingModel::formatTitle(i);
    m_popup->show(m_lblSelectedFormat, m_btnSelectFormat, rows,
        SettingModel::popupHeight(SettingModel::PopupKind::Formats), m_model.selectedFormatOptionIndex(),
        [this](int row) { formatSelectionChangedWithIndex(row); });
}

void SettingView::btnSelectFilenameTapped()
{
    m_popup->show(m_lblSelectedFileName, m_btnSelectFilename, SettingModel::namingOptions(),
        SettingModel::popupHeight(SettingModel::PopupKind::Naming), m_model.selectedFileNameOptionIndex(),
        [this](int row) { filenameSelectionChangedWithIndex(row); });
}

void SettingView::btnResetFilenameTapped()
{
    filenameSelectionChangedWithIndex(0);
}

void SettingView::btnKeepOriginalFolderTapped()
{
    m_model.btnKeepOriginalFolderTapped();
    refresh();
}

void SettingView::btnOutputToFolderTapped()
{
    m_model.btnOutputToFolderTapped();
    m_hierarchyLit = true;
    refresh();
}

void SettingView::btnResetFolderTapped()
{
    m_model.btnResetFolderTapped();
    m_hierarchyLit = true;
    m_askLit = true;
    refresh();
}

void SettingView::btnSelectFolderTapped()
{
    if (m_folderPanel)
        return;
    AppDelegate::shareDelegate()->isSubWindowOpened = true;
    m_panelOpener = QApplication::focusWidget();
    m_panelOpenerRinged = m_panelOpener && FocusRing::ringedWidget() == m_panelOpener;
    const QString start = Paths::defaultOutputFolder();
    if (!QDir().mkpath(start))
        std::fprintf(stderr, "Failed to create directory \"%s\". Error: %s\n", qPrintable(start), "mkpath failed");
    // A window-modal panel that answers through its signals: nothing waits for it.
    auto* panel = new CustomOpenPanel(this);
    panel->setDirectory(start);
    panel->setObjectName(QStringLiteral("folderPanel"));
    panel->setWindowTitle(QStringLiteral("Select Destination Folder"));
    panel->setFileMode(QFileDialog::Directory);
    panel->setOption(QFileDialog::ShowDirsOnly, true);
    panel->setLabelText(QFileDialog::Accept, QStringLiteral("Select Destination Folder"));
    panel->setAttribute(Qt::WA_DeleteOnClose);
    connect(panel, &QFileDialog::finished, this, [this, panel](int result) {
        const QStringList chosen = panel->selectedFiles();
        folderPanelEnded(result == QDialog::Accepted && !chosen.isEmpty() ? chosen.first() : QString());
    });
    m_folderPanel = panel;
    // Over the window it belongs to, like a sheet, and roomy enough for its list.
    const QSize area = window()->size();
    panel->resize(std::min(860, area.width() - 80), std::min(540, area.height() - 120));
    connect(panel, &QDialog::finished, window(), [main = window()] { main->activateWindow(); });
    panel->open();
}

void SettingView::folderPanelEnded(const QString& path)
{
    AppDelegate::shareDelegate()->isSubWindowOpened = false;
    if (!path.isEmpty())
        m_model.folderChosen(path); // a folder in the Trash is refused without a message
    refresh();
    giveFocusBackAfterPanel();
}

void SettingView::giveFocusBackAfterPanel()
{
    // The window gets the keyboard back from the window system a moment after the panel goes, and
    // hands it to the opener without its ring: the ring is put back once the window is active.
    const QPointer<QWidget> opener = std::exchange(m_panelOpener, nullptr);
    const bool ringed = m_panelOpenerRinged;
    const auto restore = [opener, ringed] {
        if (!opener || !opener->isVisible() || !opener->isEnabled() || !opener->isActiveWindow())
            return;
        QWidget* focus = QApplication::focusWidget();
        if (focus && focus != opener)
            return; // the user went on meanwhile
        if (focus == opener && (FocusRing::ringedWidget() == opener) == ringed)
            return;
        if (focus == opener)
            opener->clearFocus();
        opener->setFocus(ringed ? Qt::OtherFocusReason : Qt::MouseFocusReason);
    };
    if (window()->isActiveWindow()) {
        restore();
        return;
    }
    QObject* guard = new QObject(this);
    connect(qApp, &QGuiApplication::focusWindowChanged, guard, [guard, restore](QWindow*) {
        QTimer::singleShot(0, guard, [guard, restore] {
            restore();
            guard->deleteLater();
        });
    });
}

} // namespace vantrel
