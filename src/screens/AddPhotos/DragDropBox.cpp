#include "screens/AddPhotos/DragDropBox.h"

#include <cstdio>

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QUrl>

#include "core/Catalogue.h"
#include "platform/NotificationCenter.h"

namespace vantrel {

namespace {

const char* const kTiffTypes[] = { "image/tiff", "image/x-tiff" };

bool offersTiff(const QMimeData* data)
{
    for (const char* type : kTiffTypes)
        if (data->hasFormat(QString::fromLatin1(type)))
            return true;
    return false;
}

} // namespace

DragDropBox::DragDropBox(QWidget* parent)
    : QFrame(parent)
{
    setAccessibleName(QStringLiteral("Drop photos here"));
    setAcceptDrops(false);
}

void DragDropBox::registerForDraggedTypes(bool enable)
{
    m_registered = enable;
    setAcceptDrops(enable);
    if (!enable && m_dragInside) {
        m_dragInside = false;
        update();
    }
}

DragDropBox::DropKind DragDropBox::classify(const QMimeData* data, QStringList* paths)
{
    if (!data)
        return DropKind::NoData;
    if (offersTiff(data))
        return DropKind::ImageData;
    if (!data->hasUrls())
        return DropKind::NoData;
    QStringList local;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            local.append(url.toLocalFile());
    if (paths)
        *paths = local;
    return local.isEmpty() ? DropKind::ImageData : DropKind::Paths;
}

void DragDropBox::dragEnterEvent(QDragEnterEvent* event)
{
    if (!m_registered) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    setCursor(Qt::DragCopyCursor);
    m_dragInside = true;
    update();
}

void DragDropBox::dragMoveEvent(QDragMoveEvent* event)
{
    if (!m_registered) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void DragDropBox::dragLeaveEvent(QDragLeaveEvent* event)
{
    unsetCursor();
    m_dragInside = false;
    update();
    event->accept();
}

void DragDropBox::dropEvent(QDropEvent* event)
{
    unsetCursor();
    m_dragInside = false;
    update();
    if (!m_registered) {
        event->ignore();
        return;
    }
    QStringList paths;
    switch (classify(event->mimeData(), &paths)) {
    case DropKind::NoData:
        event->ignore();
        showPasteError();
        return;
    case DropKind::ImageData:
        event->ignore();
        return;
    case DropKind::Paths:
        break;
    }
    std::fprintf(stderr, "drag drop path = %s\n", paths.first().toUtf8().constData());
    event->setDropAction(Qt::CopyAction);
    event->accept();
    NotificationCenter::defaultCenter().post(
        QString::fromLatin1(kFileDragDropNotification), { { QString::fromLatin1(kUserInfoPaths), paths } });
}

void DragDropBox::showPasteError()
{
    auto* box = new QMessageBox(QMessageBox::Warning, pasteErrorTitle(), pasteErrorText(), QMessageBox::Ok, window());
    box->setObjectName(QStringLiteral("pasteErrorAlert"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->open();
}

void DragDropBox::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(rect(), QColor(36, 41, 50));
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(m_dragInside ? QColor(66, 180, 211) : QColor(95, 104, 121), m_dragInside ? 2.5 : 1.5, Qt::DashLine);
    painter.setPen(pen);
    painter.setBrush(m_dragInside ? QColor(66, 180, 211, 40) : QColor(42, 48, 59));
    painter.drawRoundedRect(QRectF(rect()).adjusted(6, 6, -6, -6), 10, 10);
}

} // namespace vantrel
