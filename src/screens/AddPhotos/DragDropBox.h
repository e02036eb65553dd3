#pragma once

#include <QFrame>
#include <QStringList>

class QMimeData;

namespace vantrel {

/// The drop target of the add-photos screen: a drop of local files posts
/// "FileDragDropNotification" with every dropped path under "paths", which starts an add run.
///
/// Drops are taken only while the box is registered (registerForDraggedTypes(true); the screen
/// unregisters it during a run). Of what a drag offers, TIFF image data wins over file names: such
/// a drop fails without a word, as does one whose file names are all remote. A drop that offers
/// neither shows the "Paste Error" alert (window-modal, nothing waits on it).
class DragDropBox : public QFrame {
    Q_OBJECT

public:
    explicit DragDropBox(QWidget* parent = nullptr);

    void registerForDraggedTypes(bool enable);
    bool isRegistered() const { return m_registered; }
    /// Does nothing (kept for the screen's interface).
    void setDraggingEnable(bool) { }

    /// The outcome of a drop of `data`: the local paths to post, or why nothing is posted.
    enum class DropKind { Paths, ImageData, NoData };
    static DropKind classify(const QMimeData* data, QStringList* paths);

    /// The alert's texts.
    static QString pasteErrorTitle() { return QStringLiteral("Paste Error"); }
    static QString pasteErrorText() { return QStringLiteral("Sorry, but the past operation failed"); }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void showPasteError();

    bool m_registered = false;
    bool m_dragInside = false;
};

} // namespace vantrel
