// Windows of the main window that no operation opens: the add-photos sheet, the feedback message
// sheet and the close confirmation. They are complete, with their actions.
#include "app/MainWindowController.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/MessageSheetPanel.h"
#include "components/BlackView.h"
#include "components/CustomOpenPanel.h"
#include "components/Sheet.h"
#include "components/TitleBar/OvAppStoreWindow.h"
#include "core/AddPhotos/TrashLocation.h"
#include "core/AppDelegate.h"
#include "core/Catalogue.h"
#include "platform/NotificationCenter.h"

namespace vantrel {

void MainWindowController::buildNeverOpenedWindows()
{
    m_alertWindow
        = new MessageSheetPanel(QStringLiteral("FEEDBACK"), QStringLiteral("Feedback submitted successfully!"),
            { QStringLiteral("OK") }, QStringLiteral("Feedback sent"), m_window);
    connect(m_alertWindow->button(0), &QPushButton::clicked, this, [this] { endSheet(m_alertWindow); });
    m_alertCloseApp
        = new MessageSheetPanel(QStringLiteral("Close Vantrel?"), QStringLiteral("Do you want to close Vantrel?"),
            { QStringLiteral("Yes"), QStringLiteral("No") }, QStringLiteral("Close Vantrel"), m_window);
    connect(m_alertCloseApp->button(0), &QPushButton::clicked, this, [this] {
        endSheet(m_alertCloseApp);
        m_app->terminate();
    });
    connect(m_alertCloseApp->button(1), &QPushButton::clicked, this, [this] { endSheet(m_alertCloseApp); });

    // The add-photos sheet: a translucent black layer as large as the content, the box centred.
    m_winAddPhotos = new BlackView(m_window);
    m_winAddPhotos->setAccessibleName(QStringLiteral("Add photos"));
    auto* box = new QWidget(m_winAddPhotos);
    auto* column = new QVBoxLayout(box);
    auto* title = new QLabel(QStringLiteral("Add photos to the batch"), box);
    title->setStyleSheet(QStringLiteral("color: white;"));
    column->addWidget(title, 0, Qt::AlignHCenter);
    const struct {
        QString caption;
        void (MainWindowController::*action)();
    } buttons[] = { { QStringLiteral("Add Photos"), &MainWindowController::btnAddPhotosTapped },
        { QStringLiteral("Add Folder"), &MainWindowController::btnAddFoldersTapped },
        { QStringLiteral("Add Photos Library"), &MainWindowController::btnAddiPhotosTapped },
        { QStringLiteral("Close"), &MainWindowController::btnCloseAddPhotoWinTapped } };
    for (const auto& b : buttons) {
        auto* button = new QPushButton(b.caption, box);
        button->setAccessibleName(b.caption);
        connect(button, &QPushButton::clicked, this, b.action);
        column->addWidget(button);
    }
    auto* layer = new QVBoxLayout(m_winAddPhotos);
    layer->addWidget(box, 0, Qt::AlignCenter);
    for (QWidget* w : { static_cast<QWidget*>(m_alertWindow), static_cast<QWidget*>(m_alertCloseApp), m_winAddPhotos })
        w->hide();
}

void MainWindowController::showAddPhotosWindow()
{
    makeMainWindowFront();
    m_delay(300, [this] {
        m_winAddPhotos->setFixedSize(m_window->width(), m_window->height() - int(m_window->titleBarHeight()));
        beginSheet(m_winAddPhotos);
    });
}

void MainWindowController::openAddPanel(const QString& prompt, bool folders)
{
    auto* panel = new CustomOpenPanel(m_window);
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setWindowTitle(prompt);
    panel->setLabelText(QFileDialog::Accept, prompt);
    panel->setFileMode(folders ? QFileDialog::Directory : QFileDialog::ExistingFiles);
    panel->setAllowsMultipleSelection(true);
    AppDelegate::shareDelegate()->isSubWindowOpened = true;
    connect(panel, &QFileDialog::finished, this, [panel](int result) {
        AppDelegate::shareDelegate()->isSubWindowOpened = false;
        if (result != QDialog::Accepted)
            return;
        QStringList paths;
        for (const QString& path : panel->selectedFiles()) {
            if (!TrashLocation::isInTrash(path)) // a choice inside the trash adds nothing
                paths.append(path);
        }
        if (!paths.isEmpty())
            NotificationCenter::defaultCenter().post(kFileDragDropNotification, { { kUserInfoPaths, paths } });
    });
    panel->open(); // never a nested event loop
}

void MainWindowController::btnAddPhotosTapped()
{
    openAddPanel(QStringLiteral("Add Photos"), false);
}

void MainWindowController::btnAddFoldersTapped()
{
    openAddPanel(QStringLiteral("Add Folder"), true);
}

void MainWindowController::btnAddiPhotosTapped()
{
    openAddPanel(QStringLiteral("Add Photos Library"), true);
}

void MainWindowController::btnCloseAddPhotoWinTapped()
{
    endSheet(m_winAddPhotos);
    m_app->terminate();
    if (m_app->isTerminating())
        m_window->hide();
}

void MainWindowController::showExifEditorWindow()
{
    endSheet(m_winAddPhotos);
    makeMainWindowFront();
}

void MainWindowController::feedbackSubmittedSuccessfully()
{
    beginSheet(m_alertWindow);
}

void MainWindowController::showCloseConfirmation()
{
    beginSheet(m_alertCloseApp);
}

} // namespace vantrel
