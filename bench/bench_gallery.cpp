// A gallery of the interface components, for looking at them: progress bars, the tag-styled
// buttons, popups with their arrows, a tinted title bar, a sheet. Not installed.
//   bench_gallery [--sheet] [--size WxH]
#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "components/AppLook.h"
#include "components/HighlightedButton.h"
#include "components/LinkButton.h"
#include "components/RvWindow/RvColorView.h"
#include "components/RvWindow/RvWindow.h"
#include "components/Sheet.h"
#include "components/TorAttachedWindow.h"
#include "components/WyProgressIndicator.h"
#include "core/ResourceImages.h"

using namespace vantrel;

namespace {

QLabel* heading(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSize(font.pointSize() + 1);
    label->setFont(font);
    return label;
}

QFrame* section(QWidget* parent)
{
    auto* frame = new QFrame(parent);
    frame->setAutoFillBackground(true);
    QPalette palette = frame->palette();
    palette.setColor(QPalette::Window, AppLook::panelColor().lighter(115));
    frame->setPalette(palette);
    return frame;
}

// A small info view as the photo popups show it.
QWidget* infoView(const QStringList& rows)
{
    auto* view = new QWidget;
    auto* layout = new QVBoxLayout(view);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->setSpacing(2);
    for (const QString& row : rows)
        layout->addWidget(new QLabel(row, view));
    view->resize(view->sizeHint().expandedTo(QSize(180, 0)));
    return view;
}

// The tinted window, hosted as a panel of the gallery so that it shows in one picture.
RvWindow* tintedWindow(QWidget* parent)
{
    auto* window = new RvWindow({}, Qt::Widget, parent);
    window->setAccessibleName(QStringLiteral("Tinted window"));
    window->setAutoFillBackground(true);
    window->setMinimumSize(320, 150);
    auto* container = new QWidget(window);
    container->setObjectName(RvWindow::kTitlebarContainerName);
    auto* title = new QLabel(QStringLiteral("Tinted title bar"), container);
    title->setObjectName(RvWindow::kTitlebarViewName);
    title->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(container);
    container->setFixedHeight(28);
    auto* titleLayout = new QHBoxLayout(container);
    titleLayout->setContentsMargins(0, 0, 0, 0);
    titleLayout->addWidget(title);
    auto* body = new QLabel(QStringLiteral("Window content below the tint"), window);
    body->setAlignment(Qt::AlignCenter);
    layout->addWidget(body, 1);
    window->setupTitlebarTint();
    return window;
}

QWidget* sheetContent(QLabel* answer)
{
    auto* content = new QFrame;
    content->setAccessibleName(QStringLiteral("Replace question"));
    content->setAutoFillBackground(true);
    QPalette palette = content->palette();
    palette.setColor(QPalette::Window, AppLook::popupColor());
    content->setPalette(palette);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(20, 16, 20, 16);
    auto* text = new QLabel(QStringLiteral("A file with this name already exists.\nDo you want to replace it?"));
    layout->addWidget(text);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* skip = new QPushButton(QStringLiteral("Skip"));
    auto* replace = new QPushButton(QStringLiteral("Replace"));
    skip->setAccessibleName(skip->text());
    replace->setAccessibleName(replace->text());
    buttons->addWidget(skip);
    buttons->addWidget(replace);
    layout->addLayout(buttons);
    content->resize(380, 110);
    const auto finish = [content](int code) {
        if (Sheet* sheet = Sheet::activeSheet(content))
            sheet->endSheet(code);
    };
    QObject::connect(skip, &QPushButton::clicked, content, [finish] { finish(0); });
    QObject::connect(replace, &QPushButton::clicked, content, [finish] { finish(1); });
    Q_UNUSED(answer);
    return content;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ResourceImages::initResources();
    AppLook::apply(app);
    const QStringList args = app.arguments();
    QSize size(1200, 800);
    const int sizeAt = args.indexOf(QStringLiteral("--size"));
    if (sizeAt > 0 && sizeAt + 1 < args.size()) {
        const QStringList parts = args[sizeAt + 1].split('x');
        if (parts.size() == 2)
            size = QSize(parts[0].toInt(), parts[1].toInt());
    }

    QWidget main;
    main.setWindowTitle(QStringLiteral("Component gallery"));
    main.setAccessibleName(main.windowTitle());
    main.resize(size);
    auto* grid = new QGridLayout(&main);
    grid->setContentsMargins(24, 24, 24, 24);
    grid->setSpacing(16);

    // Popups: one below its anchor (arrow up), one to the right of its anchor (arrow left).
    auto* popups = section(&main);
    auto* popupLayout = new QVBoxLayout(popups);
    popupLayout->addWidget(heading(QStringLiteral("Attached popups"), popups));
    auto* anchorBelow = new QPushButton(QStringLiteral("Photo info"), popups);
    auto* anchorRight = new QPushButton(QStringLiteral("Table popup"), popups);
    for (QPushButton* anchor : { anchorBelow, anchorRight }) {
        anchor->setAccessibleName(anchor->text());
        anchor->setFixedWidth(140);
    }
    popupLayout->addWidget(anchorBelow);
    popupLayout->addSpacing(110);
    popupLayout->addWidget(anchorRight);
    popupLayout->addStretch(1);
    grid->addWidget(popups, 0, 0);

    auto* progress = section(&main);
    auto* progressLayout = new QGridLayout(progress);
    progressLayout->addWidget(heading(QStringLiteral("Progress"), progress), 0, 0, 1, 2);
    int row = 1;
    for (const double value : { 0.0, 50.0, 100.0 }) {
        auto* bar = new WyProgressIndicator(progress);
        bar->setMinValue(0);
        bar->setMaxValue(100);
        bar->setDoubleValue(value);
        bar->setFixedHeight(20);
        progressLayout->addWidget(new QLabel(QStringLiteral("%1 %").arg(value), progress), row, 0);
        progressLayout->addWidget(bar, row++, 1);
    }
    progressLayout->setColumnStretch(1, 1);
    progressLayout->setRowStretch(row, 1);
    grid->addWidget(progress, 1, 0);

    auto* tintSection = section(&main);
    auto* tintLayout = new QVBoxLayout(tintSection);
    tintLayout->addWidget(heading(QStringLiteral("Tinted window"), tintSection));
    tintLayout->addWidget(tintedWindow(tintSection), 1);
    grid->addWidget(tintSection, 0, 1);

    auto* sheetSection = section(&main);
    auto* sheetLayout = new QVBoxLayout(sheetSection);
    sheetLayout->addWidget(heading(QStringLiteral("Sheet"), sheetSection));
    auto* showSheet = new QPushButton(QStringLiteral("Show sheet"), sheetSection);
    showSheet->setAccessibleName(showSheet->text());
    auto* answer = new QLabel(QStringLiteral("No answer yet"), sheetSection);
    sheetLayout->addWidget(showSheet);
    sheetLayout->addWidget(answer);
    sheetLayout->addStretch(1);
    grid->addWidget(sheetSection, 1, 1);

    // The tag-styled buttons in their default look; the last row shows the disabled look.
    auto* buttons = section(&main);
    auto* buttonLayout = new QGridLayout(buttons);
    buttonLayout->addWidget(heading(QStringLiteral("Buttons by tag"), buttons), 0, 0, 1, 6);
    for (int tag = 101; tag <= 112; ++tag) {
        const int index = tag - 101;
        auto* button = new HighlightedButton(QStringLiteral("Tag %1").arg(tag), buttons);
        button->setAccessibleName(button->text());
        button->setTag(tag);
        button->setMinimumSize(110, 30);
        button->awakeFromNib();
        buttonLayout->addWidget(button, 1 + index / 6, index % 6);
    }
    for (const int tag : { 101, 103, 105, 108 }) {
        auto* button = new HighlightedButton(QStringLiteral("Tag %1 off").arg(tag), buttons);
        button->setAccessibleName(button->text());
        button->setTag(tag);
        button->setMinimumSize(110, 30);
        button->awakeFromNib();
        button->setState(0);
        buttonLayout->addWidget(button, 3, (tag - 101) / 2 % 6);
    }
    buttonLayout->addWidget(new LinkButton(QStringLiteral("A link button"), buttons), 3, 5);
    grid->addWidget(buttons, 2, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);

    QWidget* content = sheetContent(answer);
    const auto begin = [&main, content, answer] {
        Sheet::beginSheet(&main, content, [answer](int code) {
            answer->setText(code == 1 ? QStringLiteral("Answer: replace") : QStringLiteral("Answer: skip"));
        });
    };
    QObject::connect(showSheet, &QPushButton::clicked, &main, begin);

    main.show();
    // Popups are placed once the layout has settled.
    QTimer::singleShot(0, &main, [&main, anchorBelow, anchorRight] {
        auto* info = TorAttachedWindow::initWithView(
            infoView({ QStringLiteral("IMG_0412.jpg"), QStringLiteral("4032 x 3024"), QStringLiteral("2.4 MB") }),
            TorAttachedWindow::pointInWindow(
                anchorBelow, { anchorBelow->width() / 2.0, double(anchorBelow->height()) }),
            &main, TorSideBelow, 5.0f);
        info->setBackgroundColor(AppLook::popupColor());
        info->setBorderColor(Qt::transparent);
        info->setCornerRadius(0);
        info->show();

        auto* table = TorAttachedWindow::initWithView(infoView({ QStringLiteral("Pixels"), QStringLiteral("Percent") }),
            TorAttachedWindow::pointInWindow(
                anchorRight, { double(anchorRight->width()), anchorRight->height() / 2.0 }),
            &main, TorSideRight, 0.0f);
        table->setBackgroundColor(AppLook::popupColor());
        table->setBorderColor(Qt::transparent);
        table->setArrowHeight(10);
        table->setCornerRadius(5);
        table->setHasShadow(true);
        table->show();
    });
    if (args.contains(QStringLiteral("--sheet")))
        QTimer::singleShot(0, &main, begin);
    return app.exec();
}
