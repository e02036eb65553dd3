#include "app/MainTitleBarView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include "app/TabBarLayout.h"
#include "components/AppLook.h"
#include "components/NamedImagePainter.h"
#include "components/ReadingOrder.h"
#include "components/TitleBar/OvWindowButton.h"
#include "core/ResourceImages.h"

namespace vantrel {

MainTabButton::MainTabButton(const QString& caption, QWidget* parent)
    : QAbstractButton(parent)
{
    setText(caption);
    setAccessibleName(caption);
    setCursor(Qt::PointingHandCursor);
    QFont f = font();
    f.setPointSizeF(f.pointSizeF() * 1.15);
    setFont(f);
}

void MainTabButton::setStateOn(bool on)
{
    if (on == m_stateOn)
        return;
    m_stateOn = on;
    update();
}

QSize MainTabButton::sizeHint() const
{
    return { TabBarLayout::kTabWidth, TabBarLayout::kTabHeight };
}

void MainTabButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QFont f = font();
    f.setBold(!m_stateOn);
    painter.setFont(f);
    const QColor chosen = AppLook::labelColor();
    const QColor other = AppLook::disabledLabelColor();
    QColor color = m_stateOn ? other : chosen;
    if (!isEnabled())
        color.setAlphaF(0.55f);
    else if (underMouse() && m_stateOn)
        color = chosen;
    painter.setPen(color);
    painter.drawText(rect().adjusted(0, 0, 0, -TabBarLayout::kUnderlineHeight), Qt::AlignCenter, text());
}

namespace {

OvWindowButton* makeWindowButton(QWidget* parent, const QString& image, const QString& name)
{
    auto* button
        = OvWindowButton::windowButtonWithSize(QSize(TabBarLayout::kWindowButtonSize, TabBarLayout::kWindowButtonSize),
            QStringLiteral("vantrel.main"), parent);
    button->setActiveImage(QPixmap::fromImage(ResourceImages::named(image + "-normal")));
    button->setPressedImage(QPixmap::fromImage(ResourceImages::named(image + "-press")));
    button->setRolloverImage(QPixmap::fromImage(ResourceImages::named(image + "-hover")));
    button->setAccessibleName(name);
    button->setToolTip(name);
    return button;
}

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

    btnCloseWindow = makeWindowButton(this, QStringLiteral("close"), QStringLiteral("Close"));
    btnMinimizeWindow = makeWindowButton(this, QStringLiteral("min"), QStringLiteral("Minimise"));
    btnZoomWindow = makeWindowButton(this, QStringLiteral("max"), QStringLiteral("Full screen"));

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
    for (int i = 0; i < 3; ++i)
        tabs[size_t(i)] = new MainTabButton(captions.at(i), this);

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
        tabs[size_t(i)]->setStateOn(i + 1 != tab);
    layoutParts();
}

void MainTitleBarView::layoutParts()
{
    using namespace TabBarLayout;
    const QSize bar = size();
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

void MainTitleBarView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && mouseDown)
        mouseDown(mapTo(window(), event->position()));
}

void MainTitleBarView::mouseMoveEvent(QMouseEvent* event)
{
    if ((event->buttons() & Qt::LeftButton) && mouseDragged)
        mouseDragged(event->globalPosition());
}

bool MainTitleBarView::focusNextPrevChild(bool next)
{
    return ReadingOrder::moveFocus(window(), next) || QWidget::focusNextPrevChild(next);
}

} // namespace vantrel
