#include "app/Online/PromotionalAdsView.h"

#include <algorithm>

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Online/OnlineServices.h"
#include "app/Online/Tracker.h"
#include "components/HandCusorButton.h"

namespace vantrel {

namespace {

constexpr int kHeadingTop = 6;
constexpr int kHeadingHeight = 24;
constexpr int kPanelTop = 38;
constexpr int kPanelWidth = 340;
constexpr int kPanelHeight = 178;
constexpr int kPanelGap = 30;
constexpr int kLogoSize = 56;

const char* const kSlotNames[2] = { "1", "2" };

} // namespace

PromotionalAdsView::PromotionalAdsView(OnlineServices* services, QWidget* parent)
    : QWidget(parent)
    , m_services(services)
{
    setObjectName(QStringLiteral("vwRecommendedApps"));
    setAccessibleName(QStringLiteral("Recommended applications"));
    m_lblRecommendedApps = new QLabel(QStringLiteral("Recommended Apps"), this);
    m_lblRecommendedApps->setObjectName(QStringLiteral("lblRecommendedApps"));
    m_lblRecommendedApps->setAccessibleName(QStringLiteral("Recommended Apps"));
    m_lblRecommendedApps->setAlignment(Qt::AlignCenter);
    m_lblRecommendedApps->setStyleSheet(QStringLiteral("color: white; font-size: 15px; font-weight: 600;"));
    m_divider = new QWidget(this);
    m_divider->setObjectName(QStringLiteral("vlineDivider"));
    m_divider->setAccessibleName(QStringLiteral("Divider"));
    m_divider->setAttribute(Qt::WA_StyledBackground, true);
    m_divider->setStyleSheet(QStringLiteral("background: rgb(68, 78, 94);"));
    buildSlot(0);
    buildSlot(1);
    setMinimumSize(2 * 160 + 3 * kPanelGap, kPanelTop + kPanelHeight + 8);
    if (m_services)
        connect(&m_services->recommendedApps(), &RecommendedApps::rowsChanged, this, [this] {
            if (isVisible())
                setPromotionWindow();
        });
    setPromotionWindow();
}

PromotionalAdsView* PromotionalAdsView::installInto(QWidget* slot, OnlineServices* services)
{
    if (!slot)
        return nullptr;
    auto* view = new PromotionalAdsView(services, slot);
    if (!slot->layout()) {
        auto* layout = new QVBoxLayout(slot);
        layout->setContentsMargins(0, 0, 0, 0);
    }
    slot->layout()->addWidget(view);
    // The slot takes its height from the panel's, which is none while there is nothing to show.
    slot->setMinimumHeight(0);
    return view;
}

void PromotionalAdsView::buildSlot(int position)
{
    Slot& slot = m_slots[position];
    const QString n = QLatin1String(kSlotNames[position]);
    slot.panel = new QWidget(this);
    slot.panel->setObjectName(QStringLiteral("vwApp") + n);
    slot.panel->setAccessibleName(QStringLiteral("Recommended application ") + n);
    slot.panel->setAttribute(Qt::WA_StyledBackground, true);
    slot.panel->setStyleSheet(
        QStringLiteral("QWidget#vwApp%1 { background: rgb(54, 63, 78); border-radius: 6px; }").arg(n));
    slot.image = new QLabel(slot.panel);
    slot.image->setObjectName(QStringLiteral("imgApp") + n);
    slot.image->setAccessibleName(QStringLiteral("Application logo"));
    slot.image->setGeometry(14, 14, kLogoSize, kLogoSize);
    slot.image->setAlignment(Qt::AlignCenter);
    // Every text here comes from the content server: shown as it is written, never as markup.
    slot.title = new QLabel(slot.panel);
    slot.title->setTextFormat(Qt::PlainText);
    slot.title->setObjectName(QStringLiteral("lblApp%1Title").arg(n));
    slot.title->setStyleSheet(QStringLiteral("color: white; font-size: 15px; font-weight: 600;"));
    slot.name = new QLabel(slot.panel);
    slot.name->setTextFormat(Qt::PlainText);
    slot.name->setObjectName(QStringLiteral("lblApp%1Name").arg(n));
    slot.name->setStyleSheet(QStringLiteral("color: rgb(195, 204, 233); font-size: 12px;"));
    slot.name->setWordWrap(true);
    for (int i = 0; i < 3; ++i) {
        slot.features[i] = new QLabel(slot.panel);
        slot.features[i]->setTextFormat(Qt::PlainText);
        slot.features[i]->setObjectName(QStringLiteral("lblFeature%1App%2").arg(i + 1).arg(n));
        slot.features[i]->setStyleSheet(QStringLiteral("color: white; font-size: 12px;"));
    }
    slot.button = new HandCusorButton(QStringLiteral("Learn More"), slot.panel);
    slot.button->setObjectName(position == 0 ? QStringLiteral("btnFirst") : QStringLiteral("btnSecond"));
    slot.button->setStyleSheet(
        QStringLiteral("QPushButton { background: rgb(66, 180, 211); color: white; border: none; border-radius: 4px;"
                       " font-size: 12px; font-weight: 600; padding: 4px 12px; }"
                       "QPushButton:hover { background: rgb(86, 196, 226); }"
                       "QPushButton:pressed { background: rgb(46, 150, 181); }"));
    connect(slot.button, &QPushButton::clicked, this, [this, position] { appClicked(position); });
    slot.panel->hide();
}

void PromotionalAdsView::setPromotionHidden(bool hidden)
{
    if (!hidden) {
        setPromotionWindow();
        return;
    }
    for (Slot& slot : m_slots)
        slot.panel->hide();
    m_divider->hide();
    m_lblRecommendedApps->hide();
    claimHeight(false);
}

void PromotionalAdsView::setPromotionWindow()
{
    const QList<RecommendedApp> rows = m_services ? m_services->recommendedApps().rows() : QList<RecommendedApp>();
    QList<bool> installed;
    for (const RecommendedApp& row : rows)
        installed.append(m_services->recommendedApps().isInstalled(row));
    m_isFirstAppInstalled = installed.value(0, false);
    m_isSecondAppInstalled = installed.value(1, false);
    m_plan = PromotionPlan::forInstalled(installed);
    setApplicationNameAndImage();
}

void PromotionalAdsView::setApplicationNameAndImage()
{
    const QList<RecommendedApp> rows = m_services ? m_services->recommendedApps().rows() : QList<RecommendedApp>();
    for (int position = 0; position < m_plan.slotRows.size(); ++position)
        setContentWithString(rows.at(m_plan.slotRows.at(position)), position);
    m_lblRecommendedApps->setVisible(m_plan.headingVisible);
    m_divider->setVisible(m_plan.dividerVisible);
    m_slots[0].panel->setVisible(m_plan.firstPanelVisible);
    m_slots[1].panel->setVisible(m_plan.secondPanelVisible);
    m_slots[0].title->setAlignment((m_plan.firstTitleCentred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
    claimHeight(m_plan.headingVisible || m_plan.firstPanelVisible || m_plan.secondPanelVisible);
    layoutPanels();
}

void PromotionalAdsView::claimHeight(bool showing)
{
    // Nothing to show claims no height, so the run summary above keeps its rows on a small window.
    setMinimumHeight(showing ? kPanelTop + kPanelHeight + 8 : 0);
    updateGeometry();
}

void PromotionalAdsView::setContentWithString(const RecommendedApp& row, int position)
{
    Slot& slot = m_slots[position];
    slot.title->setText(row.name);
    slot.title->setAccessibleName(row.name);
    slot.name->setText(row.description);
    slot.name->setAccessibleName(row.description);
    slot.image->setPixmap(row.logo.isNull()
            ? QPixmap()
            : QPixmap::fromImage(row.logo.scaled(kLogoSize, kLogoSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    for (int i = 0; i < 3; ++i) {
        const QString feature = row.features.value(i);
        slot.features[i]->setText(feature.isEmpty() ? QString() : QStringLiteral("\u2022  ") + feature);
        slot.features[i]->setAccessibleName(feature);
    }
    slot.button->setAccessibleName(QStringLiteral("Learn more about ") + row.name);
    slot.url = row.storeUrl;
    slot.appnameForTrack = row.trackName;
    slot.appidForTrack = row.appId;
}

void PromotionalAdsView::btnApp1Clicked()
{
    appClicked(0);
}

void PromotionalAdsView::btnApp2Clicked()
{
    appClicked(1);
}

void PromotionalAdsView::appClicked(int position)
{
    if (!m_services || position >= m_plan.slotRows.size())
        return;
    const Slot& slot = m_slots[position];
    m_services->fireKorvBraskHit(QStringLiteral("exit_nag"), slot.appnameForTrack, slot.appidForTrack,
        QString::number(Tracker::kAppCatalogueId));
    m_services->openStoreLink(slot.url);
}

QString PromotionalAdsView::slotTitle(int position) const
{
    return m_slots[position].title->text();
}

QWidget* PromotionalAdsView::heading() const
{
    return m_lblRecommendedApps;
}

QSize PromotionalAdsView::sizeHint() const
{
    return { 2 * kPanelWidth + 3 * kPanelGap, kPanelTop + kPanelHeight + 8 };
}

void PromotionalAdsView::layoutPanels()
{
    const int w = width();
    const int panelWidth = std::max(160, std::min(kPanelWidth, (w - 3 * kPanelGap) / 2));
    m_lblRecommendedApps->setGeometry(0, kHeadingTop, w, kHeadingHeight);
    // The second panel sits right of the middle; the first mirrors it across the divider.
    const int secondX = w / 2 + kPanelGap;
    const int firstX = m_plan.firstPanelX(w, secondX, panelWidth);
    m_slots[0].panel->setGeometry(firstX, kPanelTop, panelWidth, kPanelHeight);
    m_slots[1].panel->setGeometry(secondX, kPanelTop, panelWidth, kPanelHeight);
    m_divider->setGeometry((firstX + panelWidth + secondX) / 2, kPanelTop + 12, 1, kPanelHeight - 24);
    for (Slot& slot : m_slots) {
        const int textX = 14 + kLogoSize + 12;
        const int textW = panelWidth - textX - 12;
        slot.title->setGeometry(textX, 14, textW, 22);
        slot.name->setGeometry(textX, 38, textW, 34);
        for (int i = 0; i < 3; ++i)
            slot.features[i]->setGeometry(20, 80 + i * 18, panelWidth - 32, 18);
        slot.button->setGeometry(panelWidth - 112, kPanelHeight - 38, 100, 28);
    }
}

void PromotionalAdsView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    setPromotionWindow();
}

void PromotionalAdsView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutPanels();
}

} // namespace vantrel
