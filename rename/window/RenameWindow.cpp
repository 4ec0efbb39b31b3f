// SPDX-License-Identifier: GPL-3.0-or-later

#include "RenameWindow.h"

#include "Announcer.h"
#include "FileListModel.h"
#include "FileListView.h"
#include "FolderField.h"
#include "FolderPicker.h"
#include "PreviewWindow.h"
#include "ProgramTexts.h"
#include "UiLook.h"
#include "UndoKeyPassThrough.h"
#include "WindowRef.h"

#include <QAction>
#include <QActionGroup>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

RenameWindow::RenameWindow(const RenameServices &services, WindowRef &about, QWidget *parent)
    : QWidget(parent)
    , picker_(services.picker)
    , renamer_(services.renamer)
    , session_(services.messages, services.progress, services.lister, services.renamer, services.journal)
    , about_(about)
{
    setObjectName(QStringLiteral("批量命名文件"));
    setWindowTitle(QStringLiteral("Quillmark\u3000\u3000Marvolt精品集"));
    setWindowIcon(appIcon());
    setFont(uiFont(9));
    setPalette(classicPalette());
    setAutoFillBackground(true);
    setAcceptDrops(true);

    buildControls();
    applyTabOrder();
    connectHandlers();
}

void RenameWindow::connectHandlers()
{
    connect(路径, &FolderField::pickRequested, this, &RenameWindow::路径_DblClick);
    auto *pickFolder = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_O), this);
    connect(pickFolder, &QShortcut::activated, this, &RenameWindow::路径_DblClick);
    connect(全选, &QPushButton::clicked, &session_, &RenameSession::selectAll);
    connect(反选, &QPushButton::clicked, &session_, &RenameSession::invertSelection);
    connect(CommandButton1, &QPushButton::clicked, this, [this] { session_.renameSelected(); });
    connect(CommandButton2, &QPushButton::clicked, this, &RenameWindow::CommandButton2_Click);

    undo_ = new QAction(Texts::undoLastAction(), this);
    undo_->setShortcut(QKeySequence::Undo);
    ListBox1->addAction(undo_);
    ListBox1->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(undo_, &QAction::triggered, &session_, &RenameSession::undoLast);
    auto *preview = new QAction(Texts::previewAction(), this);
    preview->setShortcut(Qt::Key_F5);
    preview->setShortcutContext(Qt::WindowShortcut);
    ListBox1->addAction(preview);
    connect(preview, &QAction::triggered, this, &RenameWindow::showPreview);
    auto *separator = new QAction(this);
    separator->setSeparator(true);
    ListBox1->addAction(separator);
    auto *orders = new QActionGroup(this);
    for (const auto &[text, order] :
         {std::pair{Texts::orderByName(), RowOrder::Name}, std::pair{Texts::orderByModified(), RowOrder::Modified},
          std::pair{Texts::orderAsListed(), RowOrder::FileSystem}}) {
        QAction *action = orders->addAction(text);
        action->setCheckable(true);
        action->setChecked(order == session_.rows().order());
        connect(action, &QAction::triggered, this, [this, order = order] { session_.setOrder(order); });
        ListBox1->addAction(action);
    }
    // A text field with nothing of its own to undo lets Ctrl+Z undo the last batch.
    auto *passUndo = new UndoKeyPassThrough(this);
    for (QLineEdit *text : {static_cast<QLineEdit *>(路径), 新名称, TextBox1, TextBox2})
        text->installEventFilter(passUndo);

    connect(&session_, &RenameSession::changed, this, &RenameWindow::showChange);
    // The click itself ends with no message; screen readers hear what it came to.
    connect(&session_, &RenameSession::told, new Announcer(this), &Announcer::announce);
    showChange(RenameSession::Change::Undo);
    connect(ListBox1->selectionModel(), &QItemSelectionModel::selectionChanged, this, &RenameWindow::passSelection);
    connect(路径, &QLineEdit::textChanged, &session_, &RenameSession::setFieldText);
    for (QLineEdit *text : {新名称, TextBox1, TextBox2})
        connect(text, &QLineEdit::textChanged, this, &RenameWindow::passNaming);
    for (QRadioButton *option : {插入到原名称之前, 插入到原名称之后, 替换原文件名, 替换指定字符}) {
        connect(option, &QRadioButton::toggled, this, [this, option](bool checked) {
            passNaming();
            if (checked)
                setReplaceFieldsEnabled(option == 替换指定字符);
        });
    }
}

void RenameWindow::showChange(RenameSession::Change what)
{
    switch (what) {
    case RenameSession::Change::Field:
        路径->setText(session_.fieldText());
        break;
    case RenameSession::Change::Listing: {
        const QScopedValueRollback<bool> showing(showingSelection_, true);
        files_->reset();
        break;
    }
    case RenameSession::Change::Selection: {
        QItemSelection selection;
        selection.reserve(static_cast<qsizetype>(session_.rows().selection().size()));
        for (const RowRange &range : session_.rows().selection())
            selection.append(QItemSelectionRange(files_->index(range.first), files_->index(range.last)));
        // Clearing first keeps Qt from comparing the old and new selections range by range.
        const QScopedValueRollback<bool> showing(showingSelection_, true);
        QItemSelectionModel *model = ListBox1->selectionModel();
        model->clearSelection();
        model->select(selection, QItemSelectionModel::Select);
        break;
    }
    case RenameSession::Change::Undo:
        undo_->setEnabled(session_.canUndo());
        break;
    case RenameSession::Change::Plan:
        break;
    }
}

void RenameWindow::passSelection()
{
    if (showingSelection_)
        return;
    const QItemSelection selection = ListBox1->selectionModel()->selection();
    std::vector<RowRange> ranges;
    ranges.reserve(static_cast<std::size_t>(selection.size()));
    for (const QItemSelectionRange &range : selection)
        ranges.push_back({range.top(), range.bottom()});
    session_.setSelection(mergeRanges(std::move(ranges)));
}

void RenameWindow::passNaming()
{
    const NamingMode mode = 插入到原名称之后->isChecked() ? NamingMode::InsertAfter
                            : 替换原文件名->isChecked()   ? NamingMode::ReplaceWithNumber
                            : 替换指定字符->isChecked()   ? NamingMode::ReplaceCharacters
                                                          : NamingMode::InsertBefore;
    session_.setNaming(mode,
                       {toNativeName(新名称->text()), toNativeName(TextBox1->text()), toNativeName(TextBox2->text())});
}

void RenameWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (activated_)
        return;
    activated_ = true;
    // Only the first activation: a listed folder keeps its selection buttons.
    UserForm_Activate();
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    插入到原名称之前->setFocus();
}

void RenameWindow::UserForm_Activate()
{
    全选->setEnabled(false);
    反选->setEnabled(false);
    setReplaceFieldsEnabled(false);
}

void RenameWindow::setReplaceFieldsEnabled(bool enabled)
{
    TextBox1->setEnabled(enabled);
    TextBox2->setEnabled(enabled);
}

void RenameWindow::路径_DblClick()
{
    const std::optional<QString> picked = picker_.pick(Texts::pickFolderTitle());
    if (picked)
        takeFolder(toNativeName(*picked));
}

void RenameWindow::startWithFolder(const NameBytes &path)
{
    if (session_.startWithFolder(path))
        enableSelecting();
}

// The path of the first item dropped, in its own bytes: a folder itself, or
// the folder a file is in, never the parent of a folder; what names neither is
// taken as given, to be refused as a folder named on the command line is. Only
// local files, a link from the web is no folder; and only from a source that
// lets it be copied, since the window takes the drop as a copy.
std::optional<NameBytes> RenameWindow::folderOfDrop(const QDropEvent *event)
{
    if (!(event->possibleActions() & Qt::CopyAction))
        return std::nullopt;
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.front().isLocalFile())
        return std::nullopt;
    const NameBytes path = localPathOf(urls.front());
    return !renamer_.openFolder(path) && isFileAt(path) ? folderOf(path) : path;
}

// Always a copy, whatever the source proposes: the window only reads the path,
// and a source that deletes after a move would lose the dropped folder.
void RenameWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!folderOfDrop(event))
        return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void RenameWindow::dropEvent(QDropEvent *event)
{
    const std::optional<NameBytes> folder = folderOfDrop(event);
    if (!folder)
        return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // Out of the drop itself: the messages that follow must not hold up the file manager.
    QTimer::singleShot(0, this, [this, path = *folder] { startWithFolder(path); });
}

void RenameWindow::takeFolder(const NameBytes &picked)
{
    if (session_.takeFolder(picked))
        enableSelecting();
}

void RenameWindow::enableSelecting()
{
    全选->setEnabled(true);
    反选->setEnabled(true);
    新名称->setFocus();
}

void RenameWindow::CommandButton2_Click() { about_.showOrRaise(); }

// One preview at a time: a second F5 brings the open one forward.
void RenameWindow::showPreview()
{
    if (!preview_)
        preview_ = new PreviewWindow(session_, this);
    preview_->show();
    preview_->raise();
    preview_->activateWindow();
}
