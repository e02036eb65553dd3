// The main window's menu: quit, tips, rating and the cross-promotion items, help and feedback,
// and the key that opens it.
#include "app/MainWindowController.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/MainTitleBarView.h"
#include "components/TitleBar/OvAppStoreWindow.h"

namespace vantrel {

void MainWindowController::buildMenu()
{
    QMenuBar* bar = m_titleBar->menuBar;
    auto add = [this](QMenu* menu, const QString& name, const QString& text, std::function<void()> fn) {
        QAction* a = menu->addAction(text);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, [fn = std::move(fn)] { fn(); });
        m_actions.append(a);
        return a;
    };
    QMenu* app = bar->addMenu(QStringLiteral("Vantrel"));
    add(app, QStringLiteral("tips"), QStringLiteral("Tips"), [this] { m_app->showTips(); });
    QAction* rate = add(
        app, QStringLiteral("rate"), QStringLiteral("Rate Vantrel..."), [this] { m_app->btnRateOnAppstoreTapped(); });
    rate->setEnabled(AppController::isRateAvailable());
    QMenu* more = app->addMenu(QStringLiteral("More Applications"));
    more->setObjectName(QStringLiteral("moreApplications"));
    QList<QAction*> promotions;
    for (int tag : { 1, 2 })
        promotions.append(add(more, QStringLiteral("crossPromotion%1").arg(tag), QString(),
            [this, tag] { m_app->btnKorvingAppcenterTapped(tag); }));
    // The recommended applications arrive from the content service: their titles are read each
    // time the menu opens. A row without one is not shown, so with no service the menu is empty.
    auto updatePromotions = [this, more, promotions] {
        const auto& titles = m_app->hooks().crossPromotionTitles;
        const QStringList names = titles ? titles() : QStringList();
        bool any = false;
        for (int i = 0; i < promotions.size(); ++i) {
            const QString name = names.value(i);
            promotions[i]->setText(name);
            promotions[i]->setVisible(!name.isEmpty());
            promotions[i]->setEnabled(!name.isEmpty() && m_app->isCrossPromotionAvailable());
            any = any || !name.isEmpty();
        }
        more->menuAction()->setEnabled(any);
    };
    updatePromotions();
    connect(app, &QMenu::aboutToShow, this, updatePromotions);
    app->addSeparator();
    QAction* quit
        = add(app, QStringLiteral("quit"), QStringLiteral("Quit Vantrel"), [this] { m_app->quitFromMenuTapped(); });
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    quit->setShortcutContext(Qt::ApplicationShortcut);
    m_window->addAction(quit);

    QMenu* help = bar->addMenu(QStringLiteral("Help"));
    QAction* helpAction
        = add(help, QStringLiteral("help"), QStringLiteral("Vantrel Help"), [this] { m_app->btnHelpTapped(); });
    helpAction->setShortcut(QKeySequence(Qt::Key_F1));
    helpAction->setShortcutContext(Qt::ApplicationShortcut);
    helpAction->setEnabled(AppController::isHelpAvailable());
    m_window->addAction(helpAction);
    add(help, QStringLiteral("feedback"), QStringLiteral("Send Feedback..."), [this] { m_app->btnFeedbackTapped(); });
    updateFeedbackItem();
    connect(help, &QMenu::aboutToShow, this, &MainWindowController::updateFeedbackItem);
    // F10 opens the first menu with its first item chosen, as on the desktop's other windows;
    // the arrows then move between the menus and their items and Escape closes them.
    auto* openMenus = new QAction(m_window);
    openMenus->setObjectName(QStringLiteral("openMenus"));
    openMenus->setShortcut(QKeySequence(Qt::Key_F10));
    openMenus->setShortcutContext(Qt::WindowShortcut);
    connect(openMenus, &QAction::triggered, this, [bar, app] {
        bar->setActiveAction(app->menuAction());
        for (QAction* item : app->actions()) {
            if (!item->isSeparator() && item->isVisible() && item->isEnabled()) {
                app->setActiveAction(item);
                break;
            }
        }
    });
    m_window->addAction(openMenus);
    for (QMenu* menu : { app, more, help })
        menu->setStyleSheet(
            QStringLiteral("QMenu { background: rgb(54, 63, 78); color: white; border: 1px solid rgb(30, 34, 42); }"
                           "QMenu::item { padding: 5px 24px; }"
                           "QMenu::item:selected { background: rgb(66, 180, 211); }"
                           "QMenu::item:disabled { color: rgb(130, 138, 158); }"));
}

void MainWindowController::updateFeedbackItem()
{
    // Like help and rating: the form is offered only where a feedback service can take it.
    if (QAction* feedback = action(QStringLiteral("feedback")))
        feedback->setEnabled(m_feedbackOpener && AppController::isFeedbackAvailable());
}

} // namespace vantrel
