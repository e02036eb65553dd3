#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace vantrel {

/// A list cell naming a file and what went wrong with it, with a delete button.
class ErrorFileTableCall : public QWidget {
    Q_OBJECT
public:
    explicit ErrorFileTableCall(QWidget* parent = nullptr);

    QLabel* fileName() const { return m_fileName; }
    QLabel* errorName() const { return m_errorName; }
    QPushButton* btnDelete() const { return m_btnDelete; }

private:
    QLabel* m_fileName;
    QLabel* m_errorName;
    QPushButton* m_btnDelete;
};

} // namespace vantrel
