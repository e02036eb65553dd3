#pragma once

#include <QString>
#include <QWidget>

namespace vantrel {

/// Base of supplementary views (headers, footers). The collection view sets the reuse identifier
/// and kind when it dequeues one.
class KeltCollectionViewReusableView : public QWidget {
    Q_OBJECT

public:
    explicit KeltCollectionViewReusableView(QWidget* parent = nullptr);

    QString reuseIdentifier() const { return m_reuseIdentifier; }
    void setReuseIdentifier(const QString& identifier) { m_reuseIdentifier = identifier; }
    QString kind() const { return m_kind; }
    void setKind(const QString& kind) { m_kind = kind; }
    /// Position and size in document coordinates, as the layout gave them.
    QRectF documentFrame() const { return m_documentFrame; }
    void setDocumentFrame(const QRectF& frame) { m_documentFrame = frame; }
    double alphaValue() const { return m_alphaValue; }
    void setAlphaValue(double alpha);

private:
    QString m_reuseIdentifier;
    QString m_kind;
    QRectF m_documentFrame;
    double m_alphaValue = 1.0;
};

} // namespace vantrel
