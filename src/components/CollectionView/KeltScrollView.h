#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QPoint>
#include <QSizeF>

namespace vantrel {

class KeltClipView;

/// A virtual scroll area: the document is a size and an origin in doubles, never a widget (a
/// widget cannot be taller than 16,777,215 px). Children of the viewport sit at small
/// viewport-relative positions; scrolling moves them and blits with viewport()->scroll().
/// Smooth scrolling is the clip view's.
class KeltScrollView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit KeltScrollView(QWidget* parent = nullptr);
    ~KeltScrollView() override;

    KeltClipView* clipView() const { return m_clipView; }
    QSizeF documentSize() const { return m_documentSize; }
    void setDocumentSize(const QSizeF& size);
    /// The visible part of the document, in document coordinates.
    QRectF documentVisibleRect() const;
    /// The origin as whole pixels: where document point p shows in the viewport is p - this.
    QPoint pixelOrigin() const { return m_pixelOrigin; }
    QSizeF visibleSize() const;

    void setBackgroundColor(const QColor& color);
    QColor backgroundColor() const { return m_backgroundColor; }
    void setDrawsBackground(bool draws);
    bool drawsBackground() const { return m_drawsBackground; }

    /// Shows the new origin: scroll bars, a blit of the viewport, then reflectScrolledClipView().
    void applyOrigin();

signals:
    /// The visible rectangle moved or changed size (scrolling, resizing, a reload that changed
    /// the document), after the cells were laid out for it.
    void boundsDidChange();

protected:
    /// After every change of the origin; the collection view lays out its cells here.
    virtual void reflectScrolledClipView() { }
    void scrollContentsBy(int dx, int dy) override;
    void updateScrollBars();

private:
    KeltClipView* m_clipView;
    QSizeF m_documentSize { 0, 0 };
    QPoint m_pixelOrigin;
    QColor m_backgroundColor = Qt::white;
    bool m_drawsBackground = true;
    bool m_settingBars = false;
};

} // namespace vantrel
