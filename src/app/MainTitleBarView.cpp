#include "app/MainTitleBarView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>

#include "app/TabBarLayout.h"
#include "components/AppLook.h"
#include "components/HighlightedButton.h"
#include "components/IMGButton.h"
#include "components/MouseDownView.h"
#include "components/NamedImagePainter.h"
#include "core/ResourceImages.h"

namespace vantrel {

namespace {

// The step tabs' look: a clear face with a light slate title, cyan under the pointer; the chosen
// tab (state 0) a dark framed face with a bold cyan title. The tag keeps the chosen tab clickable.
constexpr int kTabTag = 108;

QWidget* colouredView(QWidget* parent, const QColor& color, const QString& name)
{
    auto* view = new QWidget(parent);
    view->setAttribute(Qt::WA_TransparentForMouseEvents);
    view->setAutoFillBackground(true);
    QPalette p = view->palette();
    p.setColor(QPalette::Window, color);
    view->setPalette(p);
    view->setAccessibleName(name);
    return view;
}

} // namespace

MainTitleBarView::MainTitleBarView(QWidget* parent)
    : QWidget(parent)
{
    ResourceImages::initResources();
    setAccessibleName(QStringLiteral("Title bar"));
    setCursor(Qt::ArrowCursor);

    vwMouseDownLintener = new MouseDownView(this);
    vwMouseDownLintener->setAccessibleName(QStringLiteral("Title bar background"));

    const int buttonSize = TabBarLayout::kWindowButtonSize;
    btnCloseWindow = IMGButton::windowButton(QStringLiteral("close"), QStringLiteral("Close"), buttonSize, this);
    btnMinimizeWindow = IMGButton::windowButton(QStringLiteral("min"), QStringLiteral("Minimise"), buttonSize, this);
    btnZoomWindow = IMGButton::windowButton(QStringLiteral("max"), QStringLiteral("Full screen"), buttonSize, this);

    menuBar = new QMenuBar(this);
    menuBar->setNativeMenuBar(false);
    menuBar->setAccessibleName(QStringLiteral("Menu"));
    menuBar->setStyleSheet(QStringLiteral("QMenuBar { background: transparent; color: rgb(195, 204, 233); }"
                                          "QMenuBar::item { padding: 4px 10px; background: transparent; }"
                                          "QMenuBar::item:selected { background: rgb(54, 63, 78); color: white; }"));

    lblAppName = new QLabel(QStringLiteral("Vantrel"), this);
    lblAppName->setAccessibleName(QStringLiteral("Vantrel"));
    lblAppName->setAlignment(Qt::AlignCenter);
    QFont nameFont = lblAppName->font();
    nameFont.setPointSizeF(nameFont.pointSizeF() * 2.2);
    nameFont.setWeight(QFont::Light);
    nameFont.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    lblAppName->setFont(nameFont);
    lblAppName->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    lblAppName->setAttribute(Qt::WA_TransparentForMouseEvents);

    lblOnTabButtons = colouredView(this, AppLook::popupColor(), QStringLiteral("Selected step"));
    lblLineSelectedOption = colouredView(this, AppLook::accentColor(), QStringLiteral("Selected step line"));
    const QStringList captions
        = { QStringLiteral("1. Photos"), QStringLiteral("2. Resizing"), QStringLiteral("3. Settings") };
    for (int i = 0; i < 3; ++i) {
        auto* tab = new HighlightedButton(captions.at(i), this);
        tab->setAccessibleName(captions.at(i));
        QFont f = tab->font();
        f.setPointSizeF(f.pointSizeF() * 1.15);
        tab->setFont(f);
        tab->setTag(kTabTag);
        tab->awakeFromNib();
        tabs[size_t(i)] = tab;
    }

    viewContactSupport = new QWidget(this);
    viewContactSupport->setAccessibleName(QStringLiteral("Support"));
    lblContactNumber = new QLabel(viewContactSupport);
    lblContactNumber->setAccessibleName(QStringLiteral("Support number"));
    lblContactNumber->setStyleSheet(QStringLiteral("color: rgb(195, 204, 233);"));
    auto* contactLayout = new QHBoxLayout(viewContactSupport);
    contactLayout->setContentsMargins(0, 0, 0, 0);
    contactLayout->addWidget(lblContactNumber);

    btnTodisableTop = new QPushButton(this);
    btnTodisableTop->setAccessibleName(QStringLiteral("Wizard busy"));
    btnTodisableTop->setFlat(true);
    btnTodisableTop->setFocusPolicy(Qt::NoFocus);
    btnTodisableTop->setStyleSheet(QStringLiteral("QPushButton { background: transparent; border: none; }"));
    btnTodisableTop->hide();

    selectTab(1);
}

void MainTitleBarView::selectTab(int tab)
{
    if (tab < 1 || tab > 3)
        return;
    m_selectedTab = tab;
    for (int i = 0; i < 3; ++i)
        tabs[size_t(i)]->setState(i + 1 != tab ? 1 : 0);
    layoutParts();
}

void MainTitleBarView::layoutParts()
{
    using namespace TabBarLayout;
    const QSize bar = size();
    vwMouseDownLintener->setGeometry(rect());
    btnCloseWindow->setGeometry(windowButtonFrame(0));
    btnMinimizeWindow->setGeometry(windowButtonFrame(1));
    btnZoomWindow->setGeometry(windowButtonFrame(2));
    menuBar->setGeometry(menuFrame(bar, menuBar->sizeHint()));
    const QRect firstTab = tabFrame(1, bar);
    lblAppName->setGeometry(0, kMenuStripHeight, bar.width(), std::max(0, firstTab.y() - kMenuStripHeight));
    for (int i = 0; i < 3; ++i)
        tabs[size_t(i)]->setGeometry(tabFrame(i + 1, bar));
    lblOnTabButtons->setGeometry(highlightFrame(m_selectedTab, bar));
    lblLineSelectedOption->setGeometry(underlineFrame(m_selectedTab, bar));
    lblOnTabButtons->lower();
    vwMouseDownLintener->lower(); // the background, under everything else
    lblLineSelectedOption->raise(); // over the chosen tab's face; it takes no clicks
    const QSize contactHint = viewContactSupport->sizeHint();
    viewContactSupport->setGeometry(bar.width() - contactHint.width() - 16,
        (kMenuStripHeight - contactHint.height()) / 2, contactHint.width(), contactHint.height());
    btnTodisableTop->setGeometry(disableCoverFrame(bar));
    btnTodisableTop->raise();
}

void MainTitleBarView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), AppLook::panelColor());
    NamedImagePainter::drawWhole(painter, QStringLiteral("header_gradient.png"), rect());
    painter.fillRect(QRect(0, height() - 1, width(), 1), QColor(0, 0, 0, 90));
}

void MainTitleBarView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutParts();
}

} // namespace vantrel
