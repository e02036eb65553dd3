#include <unistd.h>

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include "app/Online/FeedbackDocument.h"
#include "platform/PropertyList.h"

using namespace vantrel;

namespace {

FeedbackValues ordinaryValues()
{
    FeedbackValues v;
    v.appName = "Vantrel";
    v.email = "user@example.com";
    v.feedbackType = "General Feedback";
    v.content = "Great app";
    v.logsData = "LOGSNOTSELECTED";
    v.logsDataScan = "SCAN_LOGSNOTSELECTED";
    v.osVersion = "Debian GNU/Linux 12 (bookworm)";
    v.procName = "Intel(R) Core(TM) i7";
    v.ramInfo = "16 GB";
    v.machineId = "abc123";
    v.urlBuyNow = "http://www.vantrel.com";
    v.appVersion = "1.0.0";
    return v;
}

// Reads the envelope with a strict, namespace-aware parser; fails the test on any error.
struct ParsedEnvelope {
    QString input;
    QString fileName;
};

ParsedEnvelope parseEnvelope(const QString& envelope)
{
    ParsedEnvelope parsed;
    QXmlStreamReader reader(envelope);
    QStringList path;
    while (!reader.atEnd()) {
        const auto token = reader.readNext();
        if (token == QXmlStreamReader::StartElement) {
            path.append(reader.namespaceUri().toString() + '|' + reader.name().toString());
            if (reader.name() == QLatin1String("input"))
                parsed.input = reader.readElementText();
            else if (reader.name() == QLatin1String("filename"))
                parsed.fileName = reader.readElementText();
        }
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    EXPECT_EQ(path,
        QStringList(
            { "http://schemas.xmlsoap.org/soap/envelope/|Envelope", "http://schemas.xmlsoap.org/soap/envelope/|Body",
                QString(FeedbackDocument::kServiceNamespace) + "|UploadFeedback",
                QString(FeedbackDocument::kServiceNamespace) + "|input",
                QString(FeedbackDocument::kServiceNamespace) + "|filename" }));
    return parsed;
}

// The document's elements in order, as (name, text) of each leaf.
QList<QPair<QString, QString>> parseDocument(const QString& document)
{
    QList<QPair<QString, QString>> leaves;
    QXmlStreamReader reader(document);
    QString current;
    QString text;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            current = reader.name().toString();
            text.clear();
            break;
        case QXmlStreamReader::Characters:
            text += reader.text();
            break;
        case QXmlStreamReader::EndElement:
            if (reader.name() == current)
                leaves.append({ current, text });
            current.clear();
            break;
        default:
            break;
        }
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    return leaves;
}

QString expectedAfterTrip(QString value)
{
    QString out;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c.isHighSurrogate() && i + 1 < value.size() && value.at(i + 1).isLowSurrogate()) {
            out += c;
            out += value.at(++i);
        } else if (c.isSurrogate() || (c.unicode() < 0x20 && c != '\t' && c != '\n' && c != '\r')
            || c.unicode() >= 0xFFFE) {
            out += QChar(QChar::ReplacementCharacter);
        } else {
            out += c;
        }
    }
    return out.replace("<", "(lessthan)");
}

} // namespace

TEST(FeedbackDocument, EnvelopeIsExactlyTheExpectedText)
{
    const QString expected = QStringLiteral(
        "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
        "xmlns:soapenc=\"http://schemas.xmlsoap.org/soap/encoding/\"><soap:Body>"
        "<UploadFeedback xmlns=\"http://services.vantrel.org/feedback/\"><input>"
        "&lt;zq_feedback&gt;&lt;feedback&gt;&lt;appname&gt;Vantrel&lt;/appname&gt;"
        "&lt;email&gt;user@example.com&lt;/email&gt;&lt;feedback_type&gt;General Feedback&lt;/feedback_type&gt;"
        "&lt;content&gt;Great app &amp;amp; more (lessthan) less &gt; &quot;q&quot; &#x27;s&#x27;&lt;/content&gt;"
        "&lt;/feedback&gt;&lt;logs_info&gt;&lt;logs_Data&gt;LOGSNOTSELECTED&lt;/logs_Data&gt;"
        "&lt;logs_Data_Scan&gt;SCAN_LOGSNOTSELECTED&lt;/logs_Data_Scan&gt;&lt;/logs_info&gt;"
        "&lt;sys_info&gt;&lt;os_version&gt;Debian GNU/Linux 12 (bookworm)&lt;/os_version&gt;"
        "&lt;proc_name&gt;Intel(R) Core(TM) i7&lt;/proc_name&gt;&lt;ram_info&gt;16 GB&lt;/ram_info&gt;&lt;/sys_info&gt;"
        "&lt;key&gt;&lt;machineid&gt;abc123&lt;/machineid&gt;&lt;/key&gt;"
        "&lt;campaign_info&gt;&lt;affiliateid&gt;&lt;/affiliateid&gt;&lt;utm_campaign&gt;&lt;/utm_campaign&gt;"
        "&lt;utm_content&gt;&lt;/utm_content&gt;&lt;utm_medium&gt;&lt;/utm_medium&gt;&lt;utm_source&gt;&lt;/"
        "utm_source&gt;"
        "&lt;utm_term&gt;&lt;/utm_term&gt;&lt;x-at&gt;&lt;/x-at&gt;"
        "&lt;URL_BUYNOW&gt;http://www.vantrel.com&lt;/URL_BUYNOW&gt;&lt;/campaign_info&gt;"
        "&lt;app_info&gt;&lt;app_ver&gt;1.0.0&lt;/app_ver&gt;&lt;/app_info&gt;&lt;/zq_feedback&gt;"
        "</input><filename>Vantrel-Feedback 20261207T0930 "
        "42.xml</filename></UploadFeedback></soap:Body></soap:Envelope>");
    FeedbackValues values = ordinaryValues();
    values.content = "Great app & more < less > \"q\" 's'";
    const QString name = FeedbackDocument::fileName("Van trel", QDateTime(QDate(2026, 12, 7), QTime(9, 30, 59)), 42);
    EXPECT_EQ(name, "Vantrel-Feedback 20261207T0930 42.xml");
    EXPECT_EQ(FeedbackDocument::envelope(values, name), expected);
    EXPECT_EQ(FeedbackDocument::soapAction(), "http://services.vantrel.org/feedback/UploadFeedback");
}

TEST(FeedbackDocument, HostileValuesInEveryFieldRoundTripThroughAStrictParser)
{
    const QString hostile[] = {
        "\"quoted\" 'single' `back`",
        "a & b &amp; &lt; &#x27; &unknown;",
        "<script>alert(1)</script></content><content>",
        "%1 %2 %3 %n %%",
        "]]> <![CDATA[ x ]]> <!-- c --> <?pi?>",
        QString::fromUtf8("bad \xff\xfe utf8 \xc3 end"),
        QString("ctl \x01\x08\x0b\x1b[31m red") + QChar(0xFFFE) + QChar(0xD800) + " lone",
        QString::fromUtf8("emoji \xf0\x9f\x98\x80 and tab\tline\nend"),
        QString(1024 * 1024, QChar('x')) + "&<",
    };
    const QStringList names = { "appname", "email", "feedback_type", "content", "logs_Data", "logs_Data_Scan",
        "os_version", "proc_name", "ram_info", "machineid", "URL_BUYNOW", "app_ver" };
    for (const QString& value : hostile) {
        FeedbackValues v;
        v.appName = v.email = v.feedbackType = v.content = v.logsData = v.logsDataScan = value;
        v.osVersion = v.procName = v.ramInfo = v.machineId = v.urlBuyNow = v.appVersion = value;
        const ParsedEnvelope parsed = parseEnvelope(FeedbackDocument::envelope(v, value + ".xml"));
        EXPECT_EQ(parsed.fileName, expectedAfterTrip(value).replace("(lessthan)", "<") + ".xml");
        QHash<QString, QString> texts;
        for (const auto& [name, text] : parseDocument(parsed.input))
            texts.insert(name, text);
        const QString expected = expectedAfterTrip(value);
        for (const QString& name : names)
            EXPECT_EQ(texts.value(name), expected) << name.toStdString() << " of " << value.left(40).toStdString();
        EXPECT_EQ(texts.value("utm_term"), QString());
    }
}

TEST(FeedbackDocument, FieldRules)
{
    struct Case {
        const char* email;
        int type;
        const char* text;
        const char* writtenEmail;
        bool badEmail, badType, badText;
    };
    const Case cases[] = {
        { "  John.Doe@Example.COM \n", 1, "  hello \n", "john.doe@example.com", false, false, false },
        { "a@b.c", 2, "x", "a@b.c", true, false, false },
        { "a@b.co", 0, "x", "a@b.co", false, true, false },
        { "", 4, " \n\t ", "", true, false, true },
        { "no-at.example.com", 3, "x", "no-at.example.com", true, false, false },
        { "a@sub.domain-x.org", 1, "x", "a@sub.domain-x.org", false, false, false },
    };
    for (const Case& c : cases) {
        const FeedbackValidation check = FeedbackDocument::validate(c.email, c.type, c.text);
        EXPECT_EQ(check.email, c.writtenEmail);
        EXPECT_EQ(check.invalidEmail, c.badEmail) << c.email;
        EXPECT_EQ(check.invalidType, c.badType) << c.type;
        EXPECT_EQ(check.invalidExp, c.badText) << c.text;
        EXPECT_EQ(check.anyMissing(), c.badEmail || c.badType || c.badText);
    }
    EXPECT_EQ(FeedbackDocument::validate("x@y.zz", 1, "  keep  inner  ").text, "keep  inner");
}

TEST(FeedbackDocument, LogExcerptStartsAtTheFirstLineOfTheLastSixteenDays)
{
    const QDateTime now(QDate(2026, 12, 7), QTime(12, 0));
    struct Case {
        QByteArray log;
        QString excerpt;
    };
    const Case cases[] = {
        { "2026-11-01 old\n2026-11-21 still old\n", "" },
        { "junk\n2026-11-22 first\nno date\r\n2026-10-01 late old\n",
            "2026-11-22 first\nno date\n2026-10-01 late old\n" },
        { "2026-12-07 today", "2026-12-07 today\n" },
        { "2026-12-06 \xff bad\n", QString::fromUtf8("2026-12-06 \xef\xbf\xbd bad\n") },
        { "", "" },
    };
    QTemporaryDir dir;
    const QString path = dir.filePath("Vantrel.log");
    for (const Case& c : cases) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.log);
        file.close();
        EXPECT_EQ(FeedbackDocument::readLogsContent(path, now), c.excerpt) << c.log.constData();
    }
    EXPECT_EQ(FeedbackDocument::readLogsContent(dir.filePath("missing.log"), now), "LOGSNOTSELECTED");

    // Only the file's tail is read: the dated first line lies beyond it.
    QFile big(path);
    ASSERT_TRUE(big.open(QIODevice::WriteOnly | QIODevice::Truncate));
    big.write("2026-12-01 beyond the tail\n");
    const QByteArray filler(1024 * 1024, 'f');
    for (int i = 0; i < 9; ++i)
        big.write(filler + "\n");
    big.write("2026-12-05 in the tail\n");
    big.close();
    EXPECT_EQ(FeedbackDocument::readLogsContent(path, now), "2026-12-05 in the tail\n");
}

TEST(FeedbackDocument, UsageReportIsTheDocumentsPlistOrTheMarker)
{
    QTemporaryDir docs;
    EXPECT_EQ(FeedbackDocument::usageReport(docs.path()), "SCAN_LOGSNOTSELECTED");
    const QString path = QDir(docs.path()).filePath("ScanReport.plist");
    ASSERT_TRUE(PropertyList::writeFile(QVariantList { 1, 2 }, path));
    EXPECT_EQ(FeedbackDocument::usageReport(docs.path()), "SCAN_LOGSNOTSELECTED");
    QVariantMap report { { "scans", 3 }, { "last", "x & y" } };
    ASSERT_TRUE(PropertyList::writeFile(report, path));
    const QString text = FeedbackDocument::usageReport(docs.path());
    EXPECT_EQ(PropertyList::read(text.toUtf8()).value_or(QVariant()).toMap(), report);
}

TEST(FeedbackDocument, SystemValuesAreFilled)
{
    EXPECT_EQ(FeedbackDocument::systemOsVersion(), QSysInfo::prettyProductName());

    // The processor's model name as the kernel reports it, else the architecture.
    QString model;
    QFile cpuinfo("/proc/cpuinfo");
    if (cpuinfo.open(QIODevice::ReadOnly)) {
        for (const QString& line : QString::fromUtf8(cpuinfo.readAll()).split('\n')) {
            if (line.startsWith("model name")) {
                model = line.section(':', 1).trimmed();
                break;
            }
        }
    }
    EXPECT_EQ(FeedbackDocument::systemProcName(), model.isEmpty() ? QSysInfo::currentCpuArchitecture() : model);

    // Whole gigabytes of the installed memory, counted here from the page count instead.
    const double bytes = double(sysconf(_SC_PHYS_PAGES)) * double(sysconf(_SC_PAGESIZE));
    const QString ram = FeedbackDocument::systemRamInfo();
    ASSERT_TRUE(ram.endsWith(" GB")) << ram.toStdString();
    bool whole = false;
    const int gigabytes = ram.chopped(3).toInt(&whole);
    ASSERT_TRUE(whole) << ram.toStdString();
    EXPECT_NEAR(gigabytes, std::max(1.0, bytes / (1024.0 * 1024.0 * 1024.0)), 1.0);
}
