#include "screens/Batch/PhotoInfoView.h"

#include <QHeaderView>
#include <QLabel>
#include <QVBoxLayout>

#include "core/Batch/BatchPopupRules.h"

namespace vantrel {

PhotoInfoView::PhotoInfoView(QWidget* parent)
    : QWidget(parent)
    , m_table(new QTableWidget(0, 2, this))
    , m_close(new QPushButton(QStringLiteral("\u2715"), this))
{
    setObjectName(QStringLiteral("vWImageMetadata"));
    setAccessibleName(tr("Photo information"));
    setFixedSize(440, 330);
    m_table->setObjectName(QStringLiteral("tvMetaData"));
    m_table->setAccessibleName(tr("Photo information"));
    m_close->setObjectName(QStringLiteral("btnClosePhotoInfo"));
    m_close->setAccessibleName(tr("Close"));
    m_close->setFlat(true);
    m_close->setFixedSize(22, 22);
    m_close->setCursor(Qt::PointingHandCursor);
    m_close->setFocusPolicy(Qt::TabFocus); // the keyboard reaches it; a click leaves the keyboard where it was
    m_close->setStyleSheet(QStringLiteral("QPushButton { color: white; border: none; font-size: 13px; }"
                                          "QPushButton:hover { color: rgb(66,180,211); }"));

    m_table->horizontalHeader()->hide();
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(BatchPopupRules::kInfoRowHeight);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setColumnWidth(0, 130);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setFocusPolicy(Qt::NoFocus);
    m_table->setShowGrid(false);
    m_table->setWordWrap(false);
    m_table->setFrameShape(QFrame::NoFrame);
    m_table->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setStyleSheet(QStringLiteral("QTableWidget { background: transparent; color: white; border: none; }"
                                          "QTableWidget::item { padding-left: 4px; }"));
    m_table->viewport()->setAutoFillBackground(false);

    auto* title = new QLabel(tr("Photo Info"), this);
    title->setStyleSheet(QStringLiteral("color: white; font-weight: bold;"));
    auto* top = new QHBoxLayout;
    top->addWidget(title);
    top->addStretch();
    top->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 6, 8);
    layout->setSpacing(4);
    layout->addLayout(top);
    layout->addWidget(m_table);
    connect(m_close, &QPushButton::clicked, this, &PhotoInfoView::closeTapped);
}

void PhotoInfoView::setRows(const QList<PhotoInfoRows::Row>& rows)
{
    m_table->clearContents();
    m_table->setRowCount(int(rows.size()));
    for (int row = 0; row < rows.size(); ++row) {
        auto* title = new QTableWidgetItem(rows[row].title);
        title->setForeground(QColor(195, 204, 233));
        auto* value = new QTableWidgetItem(PhotoInfoRows::valueText(rows[row].value));
        value->setToolTip(rows[row].value);
        m_table->setItem(row, 0, title);
        m_table->setItem(row, 1, value);
    }
    m_table->scrollToTop();
}

} // namespace vantrel
