#pragma once

#include <QObject>
#include <QString>

namespace vantrel {

/// The rollover state shared by the window buttons of one identifier: one group per identifier
/// for the whole process. The capture count is never changed (setNumberOfCaptures keeps it at
/// 0), so a group never asks its buttons to show their rollover image and never signals a
/// change: window buttons always show their plain image. Main thread only.
class OvWindowButtonGroup : public QObject {
    Q_OBJECT
public:
    static constexpr char kDefaultIdentifier[] = "com.polmaro.ovappstorewindow.defaultWindowButtonGroup";

    /// The one group of that identifier (an empty identifier means the default one). Groups live
    /// as long as the process and are released at its exit.
    static OvWindowButtonGroup* groupWithIdentifier(const QString& identifier);

    const QString& identifier() const { return m_identifier; }
    int numberOfCaptures() const { return m_numberOfCaptures; }
    /// Keeps the count as it is (see the class comment).
    void setNumberOfCaptures(int count);

    void didCaptureMousePointer();
    void didReleaseMousePointer();
    void resetMouseCaptures();
    bool shouldDisplayRollOver() const { return m_numberOfCaptures > 0; }

signals:
    void rolloverStateChanged();

private:
    explicit OvWindowButtonGroup(const QString& identifier);

    QString m_identifier;
    int m_numberOfCaptures = 0;
};

} // namespace vantrel
