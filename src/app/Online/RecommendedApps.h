#pragma once

#include <QImage>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

class QNetworkAccessManager;

namespace vantrel {

/// One of the maker's other applications recommended to the user.
struct RecommendedApp {
    QString name; // display name; also the name of its .desktop file
    QString description;
    QStringList features; // three lines
    QUrl logoUrl;
    QImage logo;
    QString storeUrl;
    QString trackName; // three- or four-letter tracking name
    QString appId; // catalogue id at the tracking service
};

/// Which rows the promotion panel shows and how: the rows not installed fill the slots in
/// table order.
struct PromotionPlan {
    QList<int> slotRows; // row index per filled slot, slot 1 first (at most two)
    bool headingVisible = false;
    bool dividerVisible = false;
    bool firstPanelVisible = false;
    bool secondPanelVisible = false;
    bool firstTitleCentred = false;

    static PromotionPlan forInstalled(const QList<bool>& installed);
    /// x of the first slot panel: W - x2 - w1 + 30 with two rows, (W - w1) / 2 with one.
    int firstPanelX(int width, int secondPanelX, int firstPanelWidth) const;
};

/// The table of recommended applications. The rows come from the content service
/// (VANTREL_CONTENT_URL, a JSON array at kContentPath); without the service, or when it answers
/// nothing usable, the table is empty and the panel and menu items show nothing.
class RecommendedApps : public QObject {
    Q_OBJECT
public:
    static constexpr char kContentPath[] = "/korving/recommendedapps.json";
    static constexpr int kMaxRows = 2;

    explicit RecommendedApps(QObject* parent = nullptr);

    const QList<RecommendedApp>& rows() const { return m_rows; }
    void setRows(QList<RecommendedApp> rows);

    /// Reads the content service's answer: an array of objects with "name", "description",
    /// "features" (array of texts), "logo" (address, relative to `base` allowed), "store",
    /// "track" and "id". Rows without a name or a store link are skipped; two at most.
    static QList<RecommendedApp> parseRows(const QByteArray& json, const QUrl& base);

    /// Fetches the table (and then the logos) from the content service; logs one line and
    /// keeps the table empty when the service is not configured.
    void fetch(QNetworkAccessManager& manager, int timeoutMs);

    /// The XDG applications folders ($XDG_DATA_HOME/applications, then each of $XDG_DATA_DIRS).
    static QStringList applicationsFolders();
    /// True when "<name>.desktop" exists in one of the folders.
    static bool isApplicationInstalledWithName(const QString& name, const QStringList& folders);
    /// Tests point the installed check at their own folders; empty restores the XDG folders.
    void setApplicationsFolders(const QStringList& folders) { m_folders = folders; }
    bool isInstalled(const RecommendedApp& row) const;

signals:
    void rowsChanged();

private:
    void fetchLogo(QNetworkAccessManager& manager, int index, int timeoutMs);

    QList<RecommendedApp> m_rows;
    QStringList m_folders;
};

} // namespace vantrel
