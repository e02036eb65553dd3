#pragma once

#include <array>

#include <QColor>
#include <QImage>
#include <QPointer>
#include <QRectF>
#include <QString>
#include <QVariant>
#include <QWidget>

#include "components/CollectionView/CellPaintCache.h"
#include "components/CollectionView/KeltIndexPath.h"
#include "components/TickSource.h"

namespace vantrel {

class KeltCollectionView;

/// The colour or image drawn behind a cell's content. Painted by its cell, not a widget of its own.
class KeltCollectionViewCellBackgroundView {
public:
    QColor color() const { return m_color; }
    QImage image() const { return m_image; }
    KeltCollectionView* collectionView() const { return m_collectionView; }
    void setCollectionView(KeltCollectionView* view) { m_collectionView = view; }
    /// Answers whether the value changed (the cell then repaints).
    bool setColor(const QColor& color);
    bool setImage(const QImage& image);

private:
    QColor m_color;
    QImage m_image;
    QPointer<KeltCollectionView> m_collectionView;
};

/// The cell a collection view reuses for its items. Besides the generic behaviour (reuse
/// identifier, index path, content view, background, hover and selected state, forwarding of the
/// mouse to its collection view) it paints the photo grid's parts: a thumbnail with its backdrop,
/// a dark bottom box with the name, dimension and size texts, a check-box button and a selection
/// frame and line. The parts are painted, not child widgets, so a screen of cells stays cheap.
///
/// Part frames are kept as the layout rules state them: in y-up cell coordinates, each with its
/// own resizing (width and/or height follow the cell's size), and flipped once when painted.
class KeltCollectionViewCell : public QWidget {
    Q_OBJECT

public:
    enum class Part {
        CheckBoxBtn,
        LblTitle,
        LblDimension,
        LblSize,
        BottomBox,
        ImgVwThumbnail,
        BgThumbnail,
        BackgroundView,
        VwSelectedState,
        VwLineSelected,
    };
    static constexpr int kPartCount = 10;

    explicit KeltCollectionViewCell(QWidget* parent = nullptr);
    ~KeltCollectionViewCell() override;

    KeltCollectionView* collectionView() const { return m_collectionView; }
    void setCollectionView(KeltCollectionView* collectionView);
    QString reuseIdentifier() const { return m_reuseIdentifier; }
    void setReuseIdentifier(const QString& identifier) { m_reuseIdentifier = identifier; }
    OptionalIndexPath indexPath() const { return m_indexPath; }
    void setIndexPath(OptionalIndexPath indexPath) { m_indexPath = indexPath; }
    /// Item index stored at dequeue; thumbnail loaders compare it (on the main thread) to drop
    /// images that arrive after the cell was reused.
    qint32 cellIndex() const { return m_cellIndex; }
    void setCellIndex(qint32 index) { m_cellIndex = index; }
    QVariant objectValue() const { return m_objectValue; }
    void setObjectValue(const QVariant& value) { m_objectValue = value; }
    double crossfadeDuration() const { return m_crossfadeDuration; }
    void setCrossfadeDuration(double seconds) { m_crossfadeDuration = seconds; }
    /// Length of the selection cross-fade last added and not yet removed by prepareForReuse; 0 when none.
    double pendingFadeDuration() const { return m_pendingFade; }
    /// What drives the cross-fade's frames (every kFadeFrameMs); a manual source lets tests step
    /// it. Not owned; none means the cell's own timer.
    void setCrossfadeTickSource(TickSource* source);
    static constexpr int kFadeFrameMs = 16;

    bool isSelected() const { return m_selected; }
    /// Subclasses override this to show the state; the base only stores it.
    virtual void setSelected(bool selected);
    /// Animated and changing the state: the background view's look before the change
    /// cross-fades into its look after it (what setSelected(bool) made of it) over
    /// crossfadeDuration seconds.
    void setSelected(bool selected, bool animated);
    bool isHovered() const { return m_hovered; }
    void setHovered(bool hovered) { m_hovered = hovered; }

    virtual void prepareForReuse();
    virtual void willLayoutWithFrame(const QRectF& frame) { Q_UNUSED(frame); }
    virtual void didLayoutWithFrame(const QRectF& frame) { Q_UNUSED(frame); }
    /// Position and size in document coordinates, as the collection view last laid it out.
    QRectF documentFrame() const { return m_documentFrame; }
    void setDocumentFrame(const QRectF& frame) { m_documentFrame = frame; }
    double alphaValue() const { return m_alphaValue; }
    void setAlphaValue(double alpha);

    QWidget* contentView();
    void setContentView(QWidget* view);
    const KeltCollectionViewCellBackgroundView& backgroundView() const { return m_backgroundView; }
    void setBackgroundColor(const QColor& color);
    QColor backgroundColor() const { return m_backgroundView.color(); }
    QImage backgroundImage() const { return m_backgroundView.image(); }

    /// The thumbnail: placed above the bottom box, shown with its backdrop.
    void setBackgroundImage(const QImage& image);
    QImage thumbnailImage() const { return m_thumbnail; }
    void setNameValue(const QString& value);
    void setDimensionValue(const QString& value);
    void setSizeValue(const QString& value);
    QString nameValue() const { return m_nameValue; }
    QString dimensionValue() const { return m_dimensionValue; }
    QString sizeValue() const { return m_sizeValue; }
    void setBgselectedColor(const QColor& color);
    QColor bgselectedColor() const { return m_bgselectedColor; }
    void setCheckImage(const QImage& image);
    QImage checkImage() const { return m_checkImage; }
    void setIsForSmallThubnails(bool flag);
    void setIsForBigThumbnail(bool flag);

    /// A part's frame in y-up cell coordinates at the cell's current size.
    QRectF partFrame(Part part) const;
    bool isPartHidden(Part part) const;

    QString description() const;
    /// The scaled images and laid-out texts that paints reuse.
    const CellPaintCache& paintCache() const { return m_paintCache; }

public slots:
    void btnInfoTapped(QWidget* sender = nullptr);
    void btnCheckboxTapped();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct PartGeometry {
        QRectF frame; // at cellSize
        QSizeF cellSize;
        bool widthSizable = false;
        bool heightSizable = false;
        bool hidden = false;
    };

    void setPartFrame(Part part, const QRectF& frame);
    PartGeometry& partGeometry(Part part) { return m_parts[size_t(part)]; }
    const PartGeometry& partGeometry(Part part) const { return m_parts[size_t(part)]; }
    /// The part's rectangle in widget (y-down) coordinates.
    QRectF partRect(Part part) const;
    bool inCheckBox(const QPointF& point) const;
    void stepCrossfade();
    void stopCrossfade();
    TickSource* crossfadeTicks();
    QPointF locationOfPart(Part part) const;

    std::array<PartGeometry, kPartCount> m_parts;
    QPointer<KeltCollectionView> m_collectionView;
    KeltCollectionViewCellBackgroundView m_backgroundView;
    QString m_reuseIdentifier;
    OptionalIndexPath m_indexPath;
    qint32 m_cellIndex = 0;
    QVariant m_objectValue;
    double m_crossfadeDuration = 0.25;
    double m_pendingFade = 0;
    /// The background view's look the running cross-fade starts from, and how far it has gone
    /// (1: no fade running).
    QColor m_fadeFromColor;
    QImage m_fadeFromImage;
    double m_fadeProgress = 1.0;
    TickSource* m_ownFadeTicks = nullptr; // made on first use
    QPointer<TickSource> m_fadeTicks;
    bool m_selected = false;
    bool m_hovered = false;
    QRectF m_documentFrame;
    double m_alphaValue = 1.0;
    QWidget* m_contentView = nullptr;

    QImage m_thumbnail;
    QString m_nameValue;
    QString m_dimensionValue;
    QString m_sizeValue;
    QColor m_bgselectedColor;
    QColor m_lineSelectedColor;
    QImage m_checkImage;
    QImage m_checkAlternateImage;
    bool m_isForSmallThubnails = false;
    bool m_isForBigThumbnail = false;

    CellPaintCache m_paintCache;
    bool m_pressingCheckBox = false;
    bool m_doubleClickPending = false;
};

} // namespace vantrel
