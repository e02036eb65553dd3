#pragma once

#include <array>

#include <QWidget>

class QAbstractButton;
class QLabel;
class QLineEdit;

namespace vantrel {

/// The contents of the overwrite sheet: the question, the photo whose output exists, the rename
/// field with its error line, and the seven answers. It only shows and reports; ProcessingView
/// forwards the answers to the run. Main thread only.
class OverwriteAlertView : public QWidget {
    Q_OBJECT
public:
    enum class Answer { Replace, Skip, KeepBoth, Rename, SkipAll, ReplaceAll, KeepAll };
    static constexpr int kAnswerCount = 7;

    explicit OverwriteAlertView(QWidget* parent = nullptr);

    /// A new question: the name offered for renaming and the existing output's path.
    void setQuestion(const QString& renameText, const QString& existingPath);
    /// The rename error; an empty text hides the line.
    void setRenameError(const QString& message);
    void setExistingImage(const QImage& image);

    QLineEdit* txtRenamefileName() const { return m_txtRenamefileName; }
    QLabel* lblErrorFileNewname() const { return m_lblErrorFileNewname; }
    QLabel* imgCurrentExistFile() const { return m_imgCurrentExistFile; }
    QAbstractButton* button(Answer answer) const { return m_buttons[size_t(answer)]; }

signals:
    void answered(vantrel::OverwriteAlertView::Answer answer);
    /// A user edit of the rename field (before the field's rule is applied).
    void renameEdited(const QString& text);

private:
    QLabel* m_lblMessage = nullptr;
    QLabel* m_imgCurrentExistFile = nullptr;
    QLineEdit* m_txtRenamefileName = nullptr;
    QLabel* m_lblExtension = nullptr;
    QLabel* m_lblErrorFileNewname = nullptr;
    std::array<QAbstractButton*, kAnswerCount> m_buttons {};
};

} // namespace vantrel
