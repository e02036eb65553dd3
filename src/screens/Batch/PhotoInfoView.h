#pragma once

#include <QPushButton>
#include <QTableWidget>
#include <QWidget>

#include "core/Batch/PhotoInfoRows.h"

namespace vantrel {

/// The photo information popup's content: a close button over a two-column table of titled
/// values, rows 30 high, the value column reading ":      value" with the value as tool-tip.
class PhotoInfoView : public QWidget {
    Q_OBJECT
public:
    explicit PhotoInfoView(QWidget* parent = nullptr);

    QTableWidget* tvMetaData() const { return m_table; }
    QPushButton* btnClosePhotoInfo() const { return m_close; }
    void setRows(const QList<PhotoInfoRows::Row>& rows);

signals:
    void closeTapped();

private:
    QTableWidget* m_table;
    QPushButton* m_close;
};

} // namespace vantrel
