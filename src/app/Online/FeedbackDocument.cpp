#include "app/Online/FeedbackDocument.h"

#include <cmath>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <QSysInfo>

#include "app/AppInfo.h"
#include "core/Categories/MutableStringXml.h"
#include "core/Helper/Utils.h"
#include "platform/PropertyList.h"

namespace vantrel {

namespace {

bool isXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
        || (c >= 0x10000 && c <= 0x10FFFF);
}

// Characters XML 1.0 cannot carry (control characters, lone surrogates, U+FFFE/U+FFFF) become
// U+FFFD, so a log full of escape sequences still gives a well-formed document.
QString xmlSafe(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
        } else if (c.isSurrogate() || !isXmlChar(c.unicode())) {
            out += QChar(QChar::ReplacementCharacter);
        } else {
            out += c;
        }
    }
    return out;
}

QString escapedTag(const QString& tag)
{
    QString markup = tag;
    return MutableStringXml::xmlSimpleEscape(markup);
}

void appendElement(QString& out, const QString& name, const QString& value)
{
    out += escapedTag(QLatin1Char('<') + name + QLatin1Char('>'));
    out += FeedbackDocument::escapeValue(value);
    out += escapedTag(QStringLiteral("</") + name + QLatin1Char('>'));
}

void open(QString& out, const char* name)
{
    out += escapedTag(QLatin1Char('<') + QLatin1String(name) + QLatin1Char('>'));
}

void close(QString& out, const char* name)
{
    out += escapedTag(QStringLiteral("</") + QLatin1String(name) + QLatin1Char('>'));
}

QString withoutBlanks(QString text)
{
    text.remove(QLatin1Char(' '));
    return text;
}

QString firstProcValue(const QString& path, const QString& key)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // Files under /proc report no size, so they are read whole rather than up to atEnd().
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& bytes : lines) {
        const QString line = QString::fromUtf8(bytes);
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon > 0 && line.left(colon).trimmed() == key)
            return line.mid(colon + 1).trimmed();
    }
    return {};
}

} // namespace

FeedbackValidation FeedbackDocument::validate(const QString& email, int typeIndex, const QString& text)
{
    FeedbackValidation result;
    result.email = email.toLower().trimmed();
    result.invalidEmail = !Utils::validateEmail(result.email);
    result.invalidType = typeIndex <= 0;
    result.text = text.trimmed();
    result.invalidExp = result.text.isEmpty();
    return result;
}

QString FeedbackDocument::escapeValue(const QString& value)
{
    QString text = xmlSafe(value);
    MutableStringXml::xmlSimpleEscapeNEW(text);
    // Unescaped once by the envelope's reader, "]]>" would be illegal in the document's text.
    text.replace(QStringLiteral("]]&gt;"), QStringLiteral("]]&amp;gt;"));
    return text;
}

QString FeedbackDocument::prepareDocument(const FeedbackValues& v)
{
    QString out;
    out.reserve(512 + v.content.size() + v.logsData.size() + v.logsDataScan.size());
    open(out, "zq_feedback");
    open(out, "feedback");
    appendElement(out, QStringLiteral("appname"), v.appName);
    appendElement(out, QStringLiteral("email"), v.email);
    appendElement(out, QStringLiteral("feedback_type"), v.feedbackType);
    appendElement(out, QStringLiteral("content"), v.content);
    close(out, "feedback");
    open(out, "logs_info");
    appendElement(out, QStringLiteral("logs_Data"), v.logsData);
    appendElement(out, QStringLiteral("logs_Data_Scan"), v.logsDataScan);
    close(out, "logs_info");
    open(out, "sys_info");
    appendElement(out, QStringLiteral("os_version"), v.osVersion);
    appendElement(out, QStringLiteral("proc_name"), v.procName);
    appendElement(out, QStringLiteral("ram_info"), v.ramInfo);
    close(out, "sys_info");
    open(out, "key");
    appendElement(out, QStringLiteral("machineid"), v.machineId);
    close(out, "key");
    open(out, "campaign_info");
    for (const char* name :
        { "affiliateid", "utm_campaign", "utm_content", "utm_medium", "utm_source", "utm_term", "x-at" })
        appendElement(out, QLatin1String(name), QString());
    appendElement(out, QStringLiteral("URL_BUYNOW"), v.urlBuyNow);
    close(out, "campaign_info");
    open(out, "app_info");
    appendElement(out, QStringLiteral("app_ver"), v.appVersion);
    close(out, "app_info");
    close(out, "zq_feedback");
    return out;
}

QString FeedbackDocument::envelope(const FeedbackValues& values, const QString& fileName)
{
    QString name = xmlSafe(fileName);
    MutableStringXml::xmlSimpleEscape(name);
    QString out = QStringLiteral(
        "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
        "xmlns:soapenc=\"http://schemas.xmlsoap.org/soap/encoding/\"><soap:Body><UploadFeedback xmlns=\"");
    out += QLatin1String(kServiceNamespace);
    out += QStringLiteral("\"><input>");
    out += prepareDocument(values);
    out += QStringLiteral("</input><filename>");
    out += name;
    out += QStringLiteral("</filename></UploadFeedback></soap:Body></soap:Envelope>");
    return out;
}

QString FeedbackDocument::fileName(const QString& appName, const QDateTime& now, int randomPart)
{
    return withoutBlanks(appName) + QStringLiteral("-Feedback ") + Utils::getDateInFormatNEW(now) + QLatin1Char(' ')
        + QString::number(randomPart) + QStringLiteral(".xml");
}

QByteArray FeedbackDocument::soapAction()
{
    return QByteArray(kServiceNamespace) + "UploadFeedback";
}

QString FeedbackDocument::readLogsContent(const QString& path, const QDateTime& now)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return QLatin1String(kLogsNotSelected);
    if (file.size() > kMaxLogBytes)
        file.seek(file.size() - kMaxLogBytes);
    return logExcerpt(QString::fromUtf8(file.read(kMaxLogBytes)), now);
}

QString FeedbackDocument::logExcerpt(const QString& logText, const QDateTime& now)
{
    QStringList prefixes;
    for (int day = 0; day < 16; ++day) {
        const QDate date = now.addSecs(-86400LL * day).toLocalTime().date();
        prefixes.append(QString::asprintf("%04d-%02d-%02d", date.year(), date.month(), date.day()));
    }
    static const QRegularExpression lineEnds(QStringLiteral("\r\n|\n|\r"));
    const QStringList lines = logText.split(lineEnds);
    QString excerpt;
    bool started = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines.at(i);
        if (i == lines.size() - 1 && line.isEmpty())
            break; // the split after a final line end
        if (!started) {
            for (const QString& prefix : prefixes) {
                if (line.startsWith(prefix)) {
                    started = true;
                    break;
                }
            }
        }
        if (started) {
            excerpt += line;
            excerpt += QLatin1Char('\n');
        }
    }
    return excerpt;
}

QString FeedbackDocument::usageReport(const QString& documentsFolder)
{
    const QString path = QDir(documentsFolder).filePath(QLatin1String(kUsageReportName));
    if (!documentsFolder.isEmpty() && QFileInfo(path).isFile()) {
        const std::optional<QVariant> root = PropertyList::readFile(path);
        if (root && root->typeId() == QMetaType::QVariantMap) {
            const QByteArray xml = PropertyList::write(*root);
            if (!xml.isEmpty())
                return QString::fromUtf8(xml);
        }
    }
    return QLatin1String(kScanLogsNotSelected);
}

void FeedbackDocument::attach(FeedbackValues& values, const FeedbackAttachments& attachments)
{
    values.logsData = attachments.sendLogs ? readLogsContent(attachments.logFilePath, attachments.now)
                                           : QString::fromLatin1(kLogsNotSelected);
    values.logsDataScan
        = attachments.sendUsage ? usageReport(attachments.documentsFolder) : QString::fromLatin1(kScanLogsNotSelected);
    values.osVersion = systemOsVersion();
    values.procName = systemProcName();
    values.ramInfo = systemRamInfo();
}

QString FeedbackDocument::systemOsVersion()
{
    return QSysInfo::prettyProductName();
}

QString FeedbackDocument::systemProcName()
{
    const QString model = firstProcValue(QStringLiteral("/proc/cpuinfo"), QStringLiteral("model name"));
    return model.isEmpty() ? QSysInfo::currentCpuArchitecture() : model;
}

QString FeedbackDocument::systemRamInfo()
{
    const QString total = firstProcValue(QStringLiteral("/proc/meminfo"), QStringLiteral("MemTotal"));
    const double kib = total.section(QLatin1Char(' '), 0, 0).toDouble();
    if (kib <= 0)
        return {};
    const double gib = kib / (1024.0 * 1024.0);
    return QString::number(std::max(1.0, std::round(gib))) + QStringLiteral(" GB");
}

QString FeedbackDocument::bundleName()
{
    return QLatin1String(AppInfo::kBundleName);
}

QString FeedbackDocument::bundleVersion()
{
    return AppInfo::bundleVersion();
}

QString FeedbackDocument::productWebsite(const QString& appName)
{
    return QStringLiteral("http://www.") + withoutBlanks(appName).toLower() + QStringLiteral(".com");
}

} // namespace vantrel
