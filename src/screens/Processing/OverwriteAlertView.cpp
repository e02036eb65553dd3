#include "screens/Processing/OverwriteAlertView.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "components/AppLook.h"
#include "components/Sheet.h"
#include "screens/Panes/PaneLook.h"

namespace vantrel {

OverwriteAlertView::OverwriteAlertView(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("winOverwriteAlert"));
    setAccessibleName(QStringLiteral("File already exists"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, AppLook::popupColor());
    setPalette(palette);
    setFixedWidth(560);

    auto* title = PaneLook::makeTitle(QStringLiteral("File already exists"), this);
    m_lblMessage = new QLabel(this);
    m_lblMessage->setWordWrap(true);
    m_lblMessage->setAccessibleName(QStringLiteral("Existing file"));
    PaneLook::setLabelLit(m_lblMessage, true);
    m_imgCurrentExistFile = new QLabel(this);
    m_imgCurrentExistFile->setObjectName(QStringLiteral("imgCurrentExistFile"));
    m_imgCurrentExistFile->setAccessibleName(QStringLiteral("Photo"));
    m_imgCurrentExistFile->setFixedSize(120, 90);
    m_imgCurrentExistFile->setAlignment(Qt::AlignCenter);
    m_imgCurrentExistFile->setStyleSheet(QStringLiteral("background: rgb(36, 41, 50);"));

    m_txtRenamefileName = new QLineEdit(this);
    m_txtRenamefileName->setObjectName(QStringLiteral("txtRenamefileName"));
    m_txtRenamefileName->setAccessibleName(QStringLiteral("New file name"));
    PaneLook::styleField(m_txtRenamefileName);
    m_lblExtension = new QLabel(this);
    PaneLook::setLabelLit(m_lblExtension, true);
    m_lblErrorFileNewname = new QLabel(this);
    m_lblErrorFileNewname->setObjectName(QStringLiteral("lblErrorFileNewname"));
    m_lblErrorFileNewname->setAccessibleName(QStringLiteral("Rename error"));
    m_lblErrorFileNewname->setStyleSheet(QStringLiteral("color: rgb(255, 110, 110);"));
    m_lblErrorFileNewname->hide();

    const char* texts[] = { "Replace", "Skip", "Keep Both", "Rename", "Skip All", "Replace All", "Keep All" };
    for (int i = 0; i < kAnswerCount; ++i) {
        auto* button = new QPushButton(QString::fromLatin1(texts[i]), this);
        button->setAccessibleName(QString::fromLatin1(texts[i]));
        button->setMinimumWidth(90);
        m_buttons[size_t(i)] = button;
        const Answer answer = Answer(i);
        connect(button, &QPushButton::clicked, this, [this, answer] { emit answered(answer); });
    }
    // Return answers Rename: focus starts in the rename field, and the name typed there is the
    // answer the user is giving. The sheet has no Cancel, so Escape answers nothing.
    Sheet::setDefaultButton(button(Answer::Rename));
    // The sheet grows with the error line; the field never gives up its own height.
    m_txtRenamefileName->setMinimumHeight(m_txtRenamefileName->sizeHint().height());
    connect(m_txtRenamefileName, &QLineEdit::textEdited, this, &OverwriteAlertView::renameEdited);

    auto* rename = new QHBoxLayout;
    auto* renameLabel = new QLabel(QStringLiteral("Rename to:"), this);
    PaneLook::setLabelLit(renameLabel, true);
    rename->addWidget(renameLabel);
    rename->addWidget(m_txtRenamefileName, 1);
    rename->addWidget(m_lblExtension);
    rename->addWidget(button(Answer::Rename));

    auto* text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(m_lblMessage);
    text->addLayout(rename);
    text->addWidget(m_lblErrorFileNewname);
    auto* top = new QHBoxLayout;
    top->addWidget(m_imgCurrentExistFile, 0, Qt::AlignTop);
    top->addLayout(text, 1);

    auto* single = new QHBoxLayout;
    single->addStretch(1);
    for (Answer a : { Answer::Skip, Answer::KeepBoth, Answer::Replace })
        single->addWidget(button(a));
    auto* all = new QHBoxLayout;
    auto* allLabel = new QLabel(QStringLiteral("For every existing file:"), this);
    PaneLook::setLabelLit(allLabel, false);
    all->addWidget(allLabel);
    all->addStretch(1);
    for (Answer a : { Answer::SkipAll, Answer::KeepAll, Answer::ReplaceAll })
        all->addWidget(button(a));

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(18, 16, 18, 16);
    column->setSpacing(12);
    column->addLayout(top);
    column->addLayout(single);
    column->addLayout(all);
}

void OverwriteAlertView::setQuestion(const QString& renameText, const QString& existingPath)
{
    const QFileInfo existing(existingPath);
    m_lblMessage->setText(QStringLiteral("\"%1\" already exists in %2.").arg(existing.fileName(), existing.path()));
    m_lblMessage->setToolTip(existingPath);
    m_txtRenamefileName->setText(renameText);
    m_lblExtension->setText(existing.suffix().isEmpty() ? QString() : QStringLiteral(".") + existing.suffix());
    m_imgCurrentExistFile->clear();
}

void OverwriteAlertView::setRenameError(const QString& message)
{
    m_lblErrorFileNewname->setText(message);
    m_lblErrorFileNewname->setVisible(!message.isEmpty());
}

void OverwriteAlertView::setExistingImage(const QImage& image)
{
    if (image.isNull()) {
        m_imgCurrentExistFile->clear();
        return;
    }
    m_imgCurrentExistFile->setPixmap(
        QPixmap::fromImage(image).scaled(m_imgCurrentExistFile->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

} // namespace vantrel
