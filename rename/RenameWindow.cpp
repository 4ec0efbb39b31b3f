// SPDX-License-Identifier: GPL-3.0-or-later

#include "RenameWindow.h"

#include "BannerStrip.h"
#include "FileListModel.h"
#include "FileListView.h"
#include "FileRenamer.h"
#include "FolderField.h"
#include "FolderPicker.h"
#include "ListFolderFiles.h"
#include "MessageBox.h"
#include "OptionButton.h"
#include "PreviewTip.h"
#include "RenameBatch.h"
#include "RenamePlan.h"
#include "UiLook.h"
#include "WindowRef.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTimer>
#include <cmath>

namespace {

// The layout is drawn in points; the window is laid out at 96 dots per inch.
int pt(double points) { return int(std::lround(points * 4.0 / 3.0)); }

void place(QWidget *control, double left, double top, double width, double height, QPoint origin = {})
{
    control->setGeometry(origin.x() + pt(left), origin.y() + pt(top), pt(width), pt(height));
}

// Where a frame's children are measured from: inside its border, below its caption.
QPoint innerOrigin(const QGroupBox *frame)
{
    QStyleOptionGroupBox option;
    option.initFrom(frame);
    option.text = frame->title();
    option.lineWidth = 1;
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    option.textAlignment = frame->alignment();
    return frame->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxContents, frame).topLeft();
}

template <class Control, class... Args> Control *make(QWidget *parent, const char *name, Args &&...args)
{
    auto *control = new Control(std::forward<Args>(args)..., parent);
    control->setObjectName(QString::fromUtf8(name));
    return control;
}

// A label names the field beside it, for the keyboard and for screen readers.
void nameByLabel(QLabel *label, QWidget *field)
{
    label->setBuddy(field);
    QString name = label->text();
    if (name.endsWith(QChar(0xFF1A))) // the full-width colon
        name.chop(1);
    field->setAccessibleName(name);
}

const QString selectionHint = QStringLiteral("请选择需要重命名的文件。可以全选！\n"
                                             "也可以按住Cltr键或者Shift键多项选择。\n"
                                             "还可以反向选择！");

} // namespace

RenameWindow::RenameWindow(const Services &services, WindowRef &about, QWidget *parent)
    : QWidget(parent)
    , services_(services)
    , about_(about)
{
    setObjectName(QStringLiteral("批量命名文件"));
    setWindowTitle(QStringLiteral("Quillmark\u3000\u3000Marvolt精品集"));
    setWindowIcon(appIcon());
    setFont(uiFont(9));
    setPalette(classicPalette());
    setAutoFillBackground(true);
    setFixedSize(pt(282), pt(299.25));
    setAcceptDrops(true);

    buildControls();
    applyTabOrder();
    connectHandlers();
}

void RenameWindow::buildControls()
{
    Label1 = make<QLabel>(this, "Label1", QStringLiteral("请指定文件夹："));
    place(Label1, 6, 6, 66, 12);

    路径 = make<FolderField>(this, "路径", QStringLiteral("请双击选择目标文件夹或磁盘"));
    路径->setToolTip(QStringLiteral("双击选择文件夹或磁盘"));
    place(路径, 78, 6, 144, 18);

    Label2 = make<QLabel>(this, "Label2", QStringLiteral("文件列表："));
    place(Label2, 6, 24, 54, 12);

    files_ = new FileListModel(this);
    ListBox1 = make<FileListView>(this, "ListBox1");
    ListBox1->setModel(files_);
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListBox1->setUniformItemSizes(true);
    ListBox1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QPalette listPalette = ListBox1->palette();
    listPalette.setColor(QPalette::Base, QColor(192, 255, 255));
    ListBox1->setPalette(listPalette);
    place(ListBox1, 6, 39, 141, 187.75);

    隐藏选项 = make<QGroupBox>(this, "隐藏选项", QStringLiteral("操作选项"));
    place(隐藏选项, 156, 36, 120, 48);
    const QPoint optionsOrigin = innerOrigin(隐藏选项);
    全选 = make<QPushButton>(隐藏选项, "全选", QStringLiteral("全选"));
    place(全选, 6, 12, 48, 18, optionsOrigin);
    反选 = make<QPushButton>(隐藏选项, "反选", QStringLiteral("反选"));
    place(反选, 60, 12, 48, 18, optionsOrigin);

    命名方式 = make<QGroupBox>(this, "命名方式", QStringLiteral("命名方式"));
    place(命名方式, 156, 90, 120, 138);
    const QPoint modeOrigin = innerOrigin(命名方式);
    插入到原名称之前 = make<OptionButton>(命名方式, "插入到原名称之前", QStringLiteral("插入到原名称之前"));
    place(插入到原名称之前, 6, 6, 126, 14.25, modeOrigin);
    插入到原名称之前->setChecked(true);
    插入到原名称之后 = make<OptionButton>(命名方式, "插入到原名称之后", QStringLiteral("插入到原名称之后"));
    place(插入到原名称之后, 6, 24, 126, 14.25, modeOrigin);
    替换原文件名 = make<OptionButton>(命名方式, "替换原文件名", QStringLiteral("替换原文件名"));
    place(替换原文件名, 6, 42, 126, 14.25, modeOrigin);
    替换指定字符 = make<OptionButton>(命名方式, "替换指定字符", QStringLiteral("替换指定字符"));
    place(替换指定字符, 6, 60, 84.75, 18, modeOrigin);
    Label5 = make<QLabel>(命名方式, "Label5", QStringLiteral("原字符："));
    place(Label5, 6, 84, 42, 12, modeOrigin);
    TextBox1 = make<QLineEdit>(命名方式, "TextBox1");
    place(TextBox1, 42, 78, 60, 18, modeOrigin);
    Label6 = make<QLabel>(命名方式, "Label6", QStringLiteral("新字符："));
    place(Label6, 6, 102, 42, 12, modeOrigin);
    TextBox2 = make<QLineEdit>(命名方式, "TextBox2");
    place(TextBox2, 42, 102, 60, 18, modeOrigin);

    Label7 = make<QLabel>(this, "Label7", QStringLiteral("请指定新名称："));
    place(Label7, 12, 240, 66, 12);
    新名称 = make<QLineEdit>(this, "新名称");
    place(新名称, 78, 234, 66, 24);

    CommandButton1 = make<QPushButton>(this, "CommandButton1", QStringLiteral("确定"));
    place(CommandButton1, 156, 234, 54, 24);
    CommandButton2 = make<QPushButton>(this, "CommandButton2", QStringLiteral("关于"));
    place(CommandButton2, 222, 234, 54, 24);
    for (QPushButton *button : {全选, 反选, CommandButton1, CommandButton2})
        button->setAutoDefault(false);

    ShockwaveFlash1 = make<BannerStrip>(this, "ShockwaveFlash1");
    ShockwaveFlash1->setFocusPolicy(Qt::TabFocus);
    ShockwaveFlash1->setAccessibleName(QStringLiteral("横幅动画"));
    place(ShockwaveFlash1, 0, 264, 282, 36);

    nameByLabel(Label1, 路径);
    nameByLabel(Label2, ListBox1);
    nameByLabel(Label5, TextBox1);
    nameByLabel(Label6, TextBox2);
    nameByLabel(Label7, 新名称);
}

void RenameWindow::applyTabOrder()
{
    QWidget *const order[] = {插入到原名称之前,
                              插入到原名称之后,
                              替换原文件名,
                              替换指定字符,
                              TextBox1,
                              TextBox2,
                              路径,
                              ListBox1,
                              全选,
                              反选,
                              CommandButton1,
                              新名称,
                              ShockwaveFlash1,
                              CommandButton2};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void RenameWindow::connectHandlers()
{
    connect(路径, &FolderField::pickRequested, this, &RenameWindow::路径_DblClick);
    auto *pickFolder = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_O), this);
    connect(pickFolder, &QShortcut::activated, this, &RenameWindow::路径_DblClick);
    connect(全选, &QPushButton::clicked, this, &RenameWindow::全选_Click);
    connect(反选, &QPushButton::clicked, this, &RenameWindow::反选_Click);
    connect(CommandButton1, &QPushButton::clicked, this, &RenameWindow::CommandButton1_Click);
    connect(CommandButton2, &QPushButton::clicked, this, &RenameWindow::CommandButton2_Click);

    undo_ = new QAction(QStringLiteral("撤销上次重命名"), this);
    undo_->setShortcut(QKeySequence::Undo);
    ListBox1->addAction(undo_);
    ListBox1->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(undo_, &QAction::triggered, this, &RenameWindow::undoLastRename);
    updateUndo();

    ListBox1->setTipFor([this](int row) { return tipForRow(row); });
    const auto dropPreview = [this] { preview_.reset(); };
    connect(ListBox1->selectionModel(), &QItemSelectionModel::selectionChanged, this, dropPreview);
    connect(files_, &QAbstractItemModel::modelReset, this, dropPreview);
    for (QLineEdit *text : {新名称, TextBox1, TextBox2})
        connect(text, &QLineEdit::textChanged, this, dropPreview);
    connect(路径, &QLineEdit::textChanged, this, dropPreview);
    for (QRadioButton *option : {插入到原名称之前, 插入到原名称之后, 替换原文件名, 替换指定字符}) {
        connect(option, &QRadioButton::toggled, this, [this, option](bool checked) {
            preview_.reset();
            if (checked)
                setReplaceFieldsEnabled(option == 替换指定字符);
        });
    }
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
    const std::optional<QString> picked = services_.picker.pick(QStringLiteral("选择文件夹"));
    if (picked)
        takeFolder(toNativeName(*picked));
}

void RenameWindow::startWithFolder(const NameBytes &path)
{
    if (services_.renamer.openFolder(path))
        takeFolder(path);
    else
        services_.messages.show(QStringLiteral("“%1”不是文件夹，无法打开。").arg(displayName(path)),
                                MsgStyle::OkExclamation, QStringLiteral("Quillbox"));
}

// The first item dropped: a folder itself, or the folder a file is in. Only
// local files, a link from the web is no folder; and only from a source that
// lets it be copied, since the window takes the drop as a copy.
std::optional<NameBytes> RenameWindow::folderOfDrop(const QDropEvent *event)
{
    if (!(event->possibleActions() & Qt::CopyAction))
        return std::nullopt;
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.front().isLocalFile())
        return std::nullopt;
    const QString local = urls.front().toLocalFile();
    for (const QString &candidate : {local, QFileInfo(local).absolutePath()}) {
        const NameBytes path = toNativeName(candidate);
        if (services_.renamer.openFolder(path))
            return path;
    }
    return std::nullopt;
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
    QTimer::singleShot(0, this, [this, path = *folder] { takeFolder(path); });
}

NameBytes RenameWindow::folderPath() const
{
    return 路径->text() == fieldText_ ? fieldPath_ : toNativeName(路径->text());
}

void RenameWindow::takeFolder(const NameBytes &picked)
{
    fieldPath_ = folderFieldPath(picked);
    路径->setText(displayName(fieldPath_));
    fieldText_ = 路径->text();

    std::optional<FolderListing> listing = ListFolderFiles(services_.lister, fieldPath_);
    if (!listing || listing->names.empty()) {
        services_.messages.show(QStringLiteral("没发现文件哦！"), MsgStyle::Ok, QStringLiteral("Quillbox"));
        return;
    }
    showListing(std::move(*listing));
    services_.messages.show(selectionHint, MsgStyle::OkCancelInformation, QStringLiteral("提示"));
    全选->setEnabled(true);
    反选->setEnabled(true);
    新名称->setFocus();
}

void RenameWindow::全选_Click()
{
    const int count = files_->rowCount();
    if (count > 0)
        selectRanges({{0, count - 1}});
}

void RenameWindow::反选_Click() { selectRanges(complementRanges(selectedRanges(), files_->rowCount())); }

std::vector<RowRange> RenameWindow::selectedRanges() const
{
    const QItemSelection selection = ListBox1->selectionModel()->selection();
    std::vector<RowRange> ranges;
    ranges.reserve(static_cast<std::size_t>(selection.size()));
    for (const QItemSelectionRange &range : selection)
        ranges.push_back({range.top(), range.bottom()});
    return mergeRanges(std::move(ranges));
}

void RenameWindow::selectRanges(const std::vector<RowRange> &ranges)
{
    QItemSelection selection;
    selection.reserve(static_cast<qsizetype>(ranges.size()));
    for (const RowRange &range : ranges)
        selection.append(QItemSelectionRange(files_->index(range.first), files_->index(range.last)));
    // Clearing first keeps Qt from comparing the old and new selections range by range.
    QItemSelectionModel *model = ListBox1->selectionModel();
    model->clearSelection();
    model->select(selection, QItemSelectionModel::Select);
}

NamingMode RenameWindow::namingMode() const
{
    if (插入到原名称之后->isChecked())
        return NamingMode::InsertAfter;
    if (替换原文件名->isChecked())
        return NamingMode::ReplaceWithNumber;
    if (替换指定字符->isChecked())
        return NamingMode::ReplaceCharacters;
    return NamingMode::InsertBefore;
}

void RenameWindow::CommandButton1_Click()
{
    const NamingMode mode = namingMode();
    if (新名称->text().isEmpty() && mode != NamingMode::ReplaceCharacters) {
        services_.messages.show(QStringLiteral("请输入新名称。"), MsgStyle::OkCancelInformation,
                                QStringLiteral("Marvolt"));
        return;
    }
    if (!全选->isEnabled()) {
        services_.messages.show(QStringLiteral("请选择存放需要重命名文件的文件夹再执行工具！"), MsgStyle::OkInformation,
                                QStringLiteral("提示"));
        return;
    }

    const std::vector<RenameRequest> requests
        = planRenames(mode, namingTexts(), files_->names(), rowsOf(selectedRanges()));
    const std::optional<JournalHold> hold = holdJournal();
    if (!hold)
        return;
    std::vector<RenameOutcome> outcomes;
    if (const std::shared_ptr<FolderHandle> folder = folderToRenameIn())
        outcomes = renameBatch(services_.renamer, *folder, folderPath(), requests, services_.journal, [this] {
            return services_.messages.show(QStringLiteral("无法记录本次重命名，完成后将不能撤销。仍要重命名吗？"),
                                           MsgStyle::OkCancelExclamation, QStringLiteral("Quillbox"));
        });
    refreshFileList();
    updateUndo();
    reportNotKept(requests, outcomes);
}

// A file system that did not keep a file through a fallback rename is named
// once; the batch stopped renaming at it.
void RenameWindow::reportNotKept(const std::vector<RenameRequest> &requests, const std::vector<RenameOutcome> &outcomes)
{
    const auto notKept = std::find_if(outcomes.begin(), outcomes.end(), [](const RenameOutcome &outcome) {
        return outcome.status == RenameStatus::NotKept;
    });
    if (notKept == outcomes.end())
        return;
    const RenameRequest &request = requests[std::size_t(notKept - outcomes.begin())];
    services_.messages.show(
        QStringLiteral("“%1”改名为“%2”后，无法确认新名称下仍是原来的文件。其余文件没有再改名，请检查这个文件。")
            .arg(displayName(request.from), displayName(request.to)),
        MsgStyle::OkExclamation, QStringLiteral("Quillbox"));
}

NamingTexts RenameWindow::namingTexts() const
{
    return {toNativeName(新名称->text()), toNativeName(TextBox1->text()), toNativeName(TextBox2->text())};
}

// While the field shows the text that was listed, the folder that was listed;
// else the folder the field names now.
std::shared_ptr<FolderHandle> RenameWindow::folderToRenameIn()
{
    if (路径->text() == listedText_ && listedFolder_)
        return listedFolder_;
    return services_.renamer.openFolder(folderPath());
}

// Another copy of the program renaming or undoing now is waited for a while,
// then named in a box: the two must never interleave.
std::optional<JournalHold> RenameWindow::holdJournal()
{
    if (services_.journal.lock())
        return std::make_optional<JournalHold>(services_.journal);
    services_.messages.show(QStringLiteral("另一个 Quillbox 正在重命名或撤销，请稍后再试。"), MsgStyle::OkExclamation,
                            QStringLiteral("Quillbox"));
    return std::nullopt;
}

void RenameWindow::undoLastRename()
{
    const std::optional<JournalHold> hold = holdJournal();
    if (!hold)
        return;
    const UndoReport report = undoLastBatch(services_.renamer, services_.journal);
    if (report.refused) {
        const QString why = *report.refused == UndoRefusal::FolderGone
                                ? QStringLiteral("无法撤销：上次重命名的文件夹已不存在。")
                            : *report.refused == UndoRefusal::FolderReplaced
                                ? QStringLiteral("无法撤销：上次重命名的文件夹已被移动或替换。")
                            : *report.refused == UndoRefusal::NewerVersion
                                ? QStringLiteral("无法撤销：重命名记录由更新版本的 Quillbox 写入。")
                                : QStringLiteral("无法撤销：重命名记录不完整或已损坏。");
        services_.messages.show(why, MsgStyle::OkExclamation, QStringLiteral("Quillbox"));
    } else if (!report.nothingToUndo && report.folder == absolutePath(folderPath())) {
        refreshFileList();
    } else if (!report.nothingToUndo) {
        services_.messages.show(QStringLiteral("已撤销在“%1”中的上次重命名。").arg(displayName(report.folder)),
                                MsgStyle::OkInformation, QStringLiteral("Quillbox"));
    }
    updateUndo();
}

void RenameWindow::updateUndo() { undo_->setEnabled(canUndo(services_.journal)); }

QString RenameWindow::tipForRow(int row)
{
    if (!preview_) {
        const std::shared_ptr<FolderHandle> folder = folderToRenameIn();
        preview_.emplace(
            namingMode(), namingTexts(), files_->names(), selectedRanges(),
            [this, folder](const NameBytes &name) { return folder && services_.renamer.entryExists(*folder, name); });
    }
    const std::optional<Preview> preview = preview_->forRow(row);
    return preview ? previewTip(*preview, files_->names()) : QString();
}

void RenameWindow::showListing(FolderListing listing)
{
    files_->setNames(std::move(listing.names));
    listedFolder_ = std::move(listing.folder);
    listedText_ = 路径->text();
}

void RenameWindow::refreshFileList()
{
    showListing(ListFolderFiles(services_.lister, folderPath()).value_or(FolderListing{}));
}

void RenameWindow::CommandButton2_Click() { about_.showOrRaise(); }
