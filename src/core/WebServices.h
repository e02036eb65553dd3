#pragma once

#include <QString>
#include <QUrl>

namespace vantrel {

/// The maker's three services have no fixed hosts: each base URL comes from the environment
/// (VANTREL_TRACKER_URL, VANTREL_FEEDBACK_URL, VANTREL_CONTENT_URL). Unset or invalid means the
/// service is disabled; callers then do nothing but log one line (logDisabled).
class WebServices {
public:
    enum class Service { Tracker, Feedback, Content };

    static QString environmentVariable(Service service);
    /// The configured base URL, or an empty URL when the service is disabled.
    static QUrl baseUrl(Service service);
    static bool isEnabled(Service service);
    /// The base URL with a path appended ("/ormeltracker/OrmelParser.svc/registerAppInstalls").
    static QUrl endpoint(Service service, const QString& path);
    /// Writes the one line a disabled operation leaves on standard error.
    static void logDisabled(Service service, const QString& operation);

    static constexpr char kRegisterInstallsPath[] = "/ormeltracker/OrmelParser.svc/registerAppInstalls";
    static constexpr char kCrossTrackingBasePath[] = "/ormeltracker/ormelparser.svc";
    static constexpr char kCrossTrackingSuffix[] = "/CrossTracking";
    static constexpr char kFeedbackPath[] = "/miscserviceandrall/MiscService.asmx";
    static constexpr char kPhoneNumberIniPath[] = "/korving/phonenumber.ini";
    /// The product's support page and review page, both on the content server.
    static constexpr char kSupportPagePath[] = "/vantrel/support";
    static constexpr char kReviewPagePath[] = "/vantrel/review";

    /// The support page's address; empty when the content server is not configured.
    static QUrl supportPageUrl() { return endpoint(Service::Content, QLatin1String(kSupportPagePath)); }
    /// The review page's address; empty when the content server is not configured.
    static QUrl reviewPageUrl() { return endpoint(Service::Content, QLatin1String(kReviewPagePath)); }
};

} // namespace vantrel
