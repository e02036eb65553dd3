#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

#include "app/Online/RecommendedApps.h"

class QLabel;
class QPushButton;

namespace vantrel {

class OnlineServices;

/// The recommended-applications panel under the run summary: up to two of the maker's other
/// applications that are not installed here, each with its logo, name, description, three
/// feature lines and a button that reports the click and opens the store link.
///
/// Hiding it hides its slot panels, divider and heading (the view itself stays); showing it
/// (setPromotionHidden(false), or the view becoming visible) refills the slots from the table.
class PromotionalAdsView : public QWidget {
    Q_OBJECT
public:
    explicit PromotionalAdsView(OnlineServices* services, QWidget* parent = nullptr);

    /// Puts a new panel into the processing view's empty recommended-apps slot, filling it.
    static PromotionalAdsView* installInto(QWidget* slot, OnlineServices* services);

    void setPromotionHidden(bool hidden);
    void setPromotionWindow();
    void setApplicationNameAndImage();
    void setContentWithString(const RecommendedApp& row, int position);
    void btnApp1Clicked();
    void btnApp2Clicked();

    bool isFirstAppInstalled() const { return m_isFirstAppInstalled; }
    bool isSecondAppInstalled() const { return m_isSecondAppInstalled; }
    const PromotionPlan& plan() const { return m_plan; }
    QWidget* slotPanel(int position) const { return m_slots[position].panel; }
    QString slotTitle(int position) const;
    QWidget* heading() const;
    QWidget* divider() const { return m_divider; }

    QSize sizeHint() const override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void claimHeight(bool showing);
    struct Slot {
        QWidget* panel = nullptr;
        QLabel* image = nullptr;
        QLabel* title = nullptr;
        QLabel* name = nullptr;
        QLabel* features[3] = {};
        QPushButton* button = nullptr;
        QString url;
        QString appnameForTrack;
        QString appidForTrack;
    };

    void buildSlot(int position);
    void layoutPanels();
    void appClicked(int position);

    QPointer<OnlineServices> m_services;
    QLabel* m_lblRecommendedApps;
    QWidget* m_divider;
    Slot m_slots[2];
    PromotionPlan m_plan;
    bool m_isFirstAppInstalled = false;
    bool m_isSecondAppInstalled = false;
};

} // namespace vantrel
