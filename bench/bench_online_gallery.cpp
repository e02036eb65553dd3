// The online services' windows, for looking at them: the recommended-applications panel in the
// processing view's summary, and the feedback form as a sheet. Nothing is sent. Not installed.
//   bench_online_gallery [--feedback] [--errors] [--offline] [--one] [--size WxH]
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QVBoxLayout>

#include "app/Online/FeedbackWindowController.h"
#include "app/Online/OnlineServices.h"
#include "app/Online/PromotionalAdsView.h"
#include "app/Online/RecommendedApps.h"
#include "components/AppLook.h"
#include "core/AppDelegate.h"
#include "screens/Processing/ProcessingView.h"

using namespace vantrel;

namespace {

QImage logo(const QColor& top, const QColor& bottom, const QString& letter)
{
    QImage image(112, 112, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, 0, 112);
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    painter.setBrush(gradient);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(4, 4, 104, 104), 24, 24);
    painter.setPen(Qt::white);
    QFont font;
    font.setPixelSize(60);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, 112, 112), Qt::AlignCenter, letter);
    return image;
}

RecommendedApp row(const QString& name, const QString& description, const QStringList& features, const QImage& icon)
{
    RecommendedApp app;
    app.name = name;
    app.description = description;
    app.features = features;
    app.logo = icon;
    app.storeUrl = QStringLiteral("https://example.org/") + name;
    app.trackName = name.left(3).toLower();
    app.appId = QStringLiteral("100");
    return app;
}

int argValue(const QStringList& args, const QString& name, int index, int fallback)
{
    const int at = static_cast<int>(args.indexOf(name));
    if (at < 0 || at + 1 >= args.size())
        return fallback;
    return args.at(at + 1).split('x').value(index).toInt();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    AppLook::apply(app);
    const QStringList args = app.arguments();
    AppDelegate::shareDelegate()->isInternetAvailable = !args.contains("--offline");

    OnlineServices services;
    services.setUrlOpener([](const QUrl&) { return true; });
    services.recommendedApps().setApplicationsFolders({ QStringLiteral("/nonexistent") });
    QList<RecommendedApp> rows {
        row("Lumora", "Find and remove duplicate photos in minutes.",
            { "Scans folders and libraries", "Compares by content, not name", "Moves duplicates to the trash" },
            logo(QColor(90, 200, 240), QColor(30, 110, 200), "L")),
        row("Quillet", "Rename thousands of files in one pass.",
            { "Counters, dates and EXIF fields", "Live preview of every name", "Undo the last batch" },
            logo(QColor(250, 170, 80), QColor(220, 90, 40), "Q")),
    };
    if (args.contains("--one"))
        rows.removeFirst();
    services.recommendedApps().setRows(rows);

    QWidget window;
    window.setWindowTitle("Online services");
    window.resize(argValue(args, "--size", 0, 1200), argValue(args, "--size", 1, 800));
    window.setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* processing = new ProcessingView;
    layout->addWidget(processing);
    PromotionalAdsView::installInto(processing->vwRecommendedApps(), &services);
    processing->showSummaryPanel();
    window.show();

    if (args.contains("--feedback") || args.contains("--errors") || args.contains("--offline")) {
        FeedbackWindowController* form = FeedbackWindowController::showFeedBackWindow(&window, &services);
        if (form && (args.contains("--errors") || args.contains("--offline"))) {
            form->btnFBType()->setCurrentIndex(0);
            form->submitFeedback();
        }
    }
    return app.exec();
}
