#include "app/MainScreen/AlertSheetView.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "app/MainScreen/WizardLook.h"
#include "components/AppLook.h"
#include "components/Sheet.h"

namespace vantrel {

namespace {

constexpr int kMargin = 24;
constexpr int kButtonHeight = 32;
constexpr int kButtonGap = 12;

struct ButtonInfo {
    AlertButton which;
    const char* name;
    const char* caption;
};

constexpr ButtonInfo kButtons[] = {
    { AlertButton::Yes, "btnYesOnALert", "Yes" },
    { AlertButton::No, "btnNoOnALert", "No" },
    { AlertButton::Ok, "btnOkOnALert", "OK" },
    { AlertButton::RemoveFromBatch, "btnRemoveFromBatch", "Remove from Batch" },
    { AlertButton::UsePng, "btnUsePng", "PNG" },
    { AlertButton::UseJpeg, "btnUseJpeg", "JPEG" },
    { AlertButton::SkipRaw, "btnSkipRawImages", "Skip" },
    { AlertButton::Cancel, "btnCancelOnALert", "Cancel" },
};

/// The message of alert 121: grey light text with every occurrence of the RAW phrase white and
/// larger.
QString highlightedHtml(const QString& message)
{
    const QString phrase = QString::fromLatin1(AlertContent::kRawHighlight);
    QString html;
    int from = 0;
    for (int at = message.indexOf(phrase); at >= 0; at = message.indexOf(phrase, from)) {
        html += message.mid(from, at - from).toHtmlEscaped();
        html += QStringLiteral("<span style=\"color:#ffffff; font-size:16px; font-weight:400;\">%1</span>")
                    .arg(phrase.toHtmlEscaped());
        from = at + phrase.size();
    }
    html += message.mid(from).toHtmlEscaped();
    html.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    return QStringLiteral("<div style=\"color:rgb(205,205,205); font-size:14px; font-weight:300;\">%1</div>").arg(html);
}

} // namespace

AlertSheetView::AlertSheetView(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("winAlert"));
    setAccessibleName(QStringLiteral("Alert"));
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("lblAlertTitle"));
    m_title->setAccessibleName(QStringLiteral("Alert title"));
    m_title->setStyleSheet(QStringLiteral("color: white; font-size: 18px; font-weight: 600;"));
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("lblAlertMsg"));
    m_message->setAccessibleName(QStringLiteral("Alert message"));
    m_message->setWordWrap(true);
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (const ButtonInfo& info : kButtons) {
        auto* button = new QPushButton(QString::fromLatin1(info.caption), this);
        button->setObjectName(QString::fromLatin1(info.name));
        button->setAccessibleName(QString::fromLatin1(info.caption));
        button->setCursor(Qt::PointingHandCursor);
        button->setStyleSheet(
            WizardLook::buttonStyle(info.which != AlertButton::Cancel && info.which != AlertButton::No));
        button->hide();
        const AlertButton which = info.which;
        connect(button, &QPushButton::clicked, this, [this, which] {
            if (m_handler)
                m_handler(which);
        });
        m_buttons[info.which] = button;
    }
    setAttribute(Qt::WA_StyledBackground, false);
    resize(623, 209);
}

void AlertSheetView::setAlert(const AlertContent& alert)
{
    for (auto& [which, button] : m_buttons)
        button->hide();
    m_title->setText(alert.title);
    if (alert.highlightedMessage) {
        m_message->setTextFormat(Qt::RichText);
        m_message->setText(highlightedHtml(alert.message));
    } else {
        m_message->setTextFormat(Qt::PlainText);
        m_message->setStyleSheet(QStringLiteral("color: rgb(205, 205, 205); font-size: 14px;"));
        m_message->setText(alert.message);
    }
    m_visible = alert.buttons;
    m_cancelX = alert.cancelX;
    // The sheet opens with the focus on the alert's focused button, which Return presses (or on
    // the one the user moved to); Escape gives the answer the alert gives it.
    for (auto& [which, button] : m_buttons) {
        Sheet::setDefaultButton(button, alert.focusedButton == which);
        Sheet::setCancelButton(button, alert.escapeButton == which);
    }
    for (AlertButton which : m_visible)
        m_buttons.at(which)->show();
    setFixedSize(alert.width, alert.height);
    layoutButtons();
}

void AlertSheetView::resizeEvent(QResizeEvent*)
{
    layoutButtons();
}

void AlertSheetView::layoutButtons()
{
    const int w = width();
    const int h = height();
    m_title->setGeometry(kMargin, 18, w - 2 * kMargin, 28);
    const int buttonTop = h - kMargin - kButtonHeight;
    m_message->setGeometry(kMargin, 56, w - 2 * kMargin, buttonTop - 56 - 8);

    // Buttons line up from the right edge in reverse order; a Cancel the alert places stands at
    // its own x.
    int right = w - kMargin;
    for (auto it = m_visible.crbegin(); it != m_visible.crend(); ++it) {
        QPushButton* button = m_buttons.at(*it);
        const int bw = qMax(90, button->sizeHint().width() + 16);
        if (*it == AlertButton::Cancel && m_cancelX) {
            button->setGeometry(*m_cancelX, buttonTop, bw, kButtonHeight);
            continue;
        }
        right -= bw;
        button->setGeometry(right, buttonTop, bw, kButtonHeight);
        right -= kButtonGap;
    }
}

void AlertSheetView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(AppLook::popupColor().lighter(130), 1));
    painter.setBrush(AppLook::popupColor());
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
}

} // namespace vantrel
