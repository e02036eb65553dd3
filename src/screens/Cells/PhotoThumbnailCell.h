#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace vantrel {

class PhotoThumbnailCell;

/// Receives a PhotoThumbnailCell's buttons.
class PhotoThumbnailCellDelegate {
public:
    virtual ~PhotoThumbnailCellDelegate() = default;
    virtual void btnInfoTappedAtLocationInTableView(QPoint, qsizetype) { }
    virtual void btnCheckBoxSelect(PhotoThumbnailCell*) { }
};

/// A list cell with a thumbnail, name and path, a selection backdrop, a check box and a "more"
/// button. The "more" button opens the photo's information through the delegate.
class PhotoThumbnailCell : public QWidget {
    Q_OBJECT
public:
    explicit PhotoThumbnailCell(QWidget* parent = nullptr);

    QLineEdit* txtName() const { return m_txtName; }
    QLineEdit* txtPath() const { return m_txtPath; }
    QWidget* vwSelectedState() const { return m_vwSelectedState; }
    QLabel* image() const { return m_image; }
    QPushButton* checkButton() const { return m_checkButton; }
    QPushButton* btnMore() const { return m_btnMore; }

    qint32 rowTag() const { return m_rowTag; }
    void setRowTag(qint32 tag) { m_rowTag = tag; }
    void setDelegate(PhotoThumbnailCellDelegate* delegate) { m_delegate = delegate; }

    void btnInfoTapped();
    void btnCheckBoxSelect();

private:
    QLineEdit* m_txtName;
    QLineEdit* m_txtPath;
    QWidget* m_vwSelectedState;
    QLabel* m_image;
    QPushButton* m_checkButton;
    QPushButton* m_btnMore;
    qint32 m_rowTag = -1;
    PhotoThumbnailCellDelegate* m_delegate = nullptr;
};

} // namespace vantrel
