// SPDX-License-Identifier: GPL-3.0-or-later

#include "RenameSession.h"

#include "ListFolderFiles.h"
#include "PreviewTip.h"

#include <algorithm>

namespace {

const QString selectionHint = QStringLiteral("请选择需要重命名的文件。可以全选！\n"
                                             "也可以按住Cltr键或者Shift键多项选择。\n"
                                             "还可以反向选择！");

bool sameRanges(const std::vector<RowRange> &a, const std::vector<RowRange> &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const RowRange &x, const RowRange &y) { return x.first == y.first && x.last == y.last; });
}

// Why renames back did not happen, a line for each reason with its count.
QString undoShortfall(const UndoReport &report)
{
    int taken = 0, gone = 0, replaced = 0, other = 0;
    for (std::size_t i = 0; i < report.outcomes.size(); ++i) {
        const RowFate fate = fateOf(report.back[i], report.outcomes[i]);
        const bool isReplaced = report.outcomes[i].status == RenameStatus::Replaced;
        taken += fate == RowFate::Taken;
        gone += fate == RowFate::Gone;
        replaced += isReplaced;
        other += fate != RowFate::Taken && fate != RowFate::Gone && fate != RowFate::Renamed && !isReplaced;
    }
    QStringList why;
    if (taken)
        why << QStringLiteral("原名称已被占用：%1 个").arg(taken);
    if (gone)
        why << QStringLiteral("文件已不存在：%1 个").arg(gone);
    if (replaced)
        why << QStringLiteral("已换成另一个文件：%1 个").arg(replaced);
    if (other)
        why << QStringLiteral("无法改名：%1 个").arg(other);
    return why.join(QLatin1Char('\n'));
}

} // namespace

RenameSession::RenameSession(MessageBox &messages, FolderLister &lister, FileRenamer &renamer, JournalStore &journal,
                             QObject *parent)
    : QObject(parent)
    , messages_(messages)
    , lister_(lister)
    , renamer_(renamer)
    , journal_(journal)
    , canUndo_(::canUndo(journal))
{
}

bool RenameSession::takeFolder(const NameBytes &picked)
{
    putPath_ = folderFieldPath(picked);
    putText_ = displayName(putPath_);
    text_ = putText_;
    plan_.reset();
    Q_EMIT changed(Change::Field);

    // A file a stopped batch left under our temporary name is listed under its
    // own; another copy renaming right now is not waited for.
    if (journal_.lock(false)) {
        const JournalHold hold(journal_);
        recoverInterruptedStep(renamer_, journal_);
    }
    std::optional<FolderListing> listing = ListFolderFiles(lister_, putPath_);
    if (!listing || listing->names.empty()) {
        messages_.show(QStringLiteral("没发现文件哦！"), MsgStyle::Ok, QStringLiteral("Quillbox"));
        return false;
    }
    // What is still under a temporary name now, no journal could name back.
    const std::vector<NameBytes> &names = listing->names;
    const auto isTemporary = [](const NameBytes &name) { return temporaryNumber(name).has_value(); };
    if (const auto first = std::find_if(names.begin(), names.end(), isTemporary); first != names.end())
        messages_.show(QStringLiteral("此文件夹中有 %1 个文件仍在重命名中断时的临时名称下（如“%2”），"
                                      "没有记录能找回它的原名称，请查看内容后手动改名。")
                           .arg(QString::number(std::count_if(first, names.end(), isTemporary)), displayName(*first)),
                       MsgStyle::OkExclamation, QStringLiteral("Quillbox"));
    showListing(std::move(*listing));
    messages_.show(selectionHint, MsgStyle::OkCancelInformation, QStringLiteral("提示"));
    listed_ = true;
    return true;
}

bool RenameSession::startWithFolder(const NameBytes &path)
{
    if (renamer_.openFolder(path))
        return takeFolder(path);
    messages_.show(QStringLiteral("“%1”不是文件夹，无法打开。").arg(displayName(path)), MsgStyle::OkExclamation,
                   QStringLiteral("Quillbox"));
    return false;
}

void RenameSession::setFieldText(const QString &text)
{
    if (text == text_)
        return;
    text_ = text;
    plan_.reset();
}

NameBytes RenameSession::folderPath() const { return text_ == putText_ ? putPath_ : toNativeName(text_); }

void RenameSession::setSelection(std::vector<RowRange> merged)
{
    if (sameRanges(merged, selection_))
        return;
    selection_ = std::move(merged);
    plan_.reset();
}

void RenameSession::selectAll()
{
    if (names_.empty())
        return;
    setSelection({{0, int(names_.size()) - 1}});
    Q_EMIT changed(Change::Selection);
}

void RenameSession::invertSelection()
{
    setSelection(complementRanges(selection_, int(names_.size())));
    Q_EMIT changed(Change::Selection);
}

void RenameSession::setNaming(NamingMode mode, const NamingTexts &texts)
{
    mode_ = mode;
    texts_ = texts;
    plan_.reset();
}

void RenameSession::setOrder(RowOrder order)
{
    if (order == order_)
        return;
    std::vector<std::size_t> selectedFiles; // by their place in the listing
    for (int row : rowsOf(selection_))
        selectedFiles.push_back(shownFrom_.empty() ? std::size_t(row) : shownFrom_[std::size_t(row)]);
    order_ = order;
    sortRows();
    std::vector<int> rowOf(names_.size());
    for (std::size_t row = 0; row < names_.size(); ++row)
        rowOf[shownFrom_.empty() ? row : shownFrom_[row]] = int(row);
    std::vector<RowRange> selected;
    selected.reserve(selectedFiles.size());
    for (std::size_t file : selectedFiles)
        selected.push_back({rowOf[file], rowOf[file]});
    selection_ = mergeRanges(std::move(selected));
    plan_.reset();
    Q_EMIT changed(Change::Listing);
    Q_EMIT changed(Change::Selection);
}

// Puts the rows in the chosen order; the listing's own order is kept aside
// while another is shown.
void RenameSession::sortRows()
{
    if (order_ == RowOrder::FileSystem) {
        if (!shownFrom_.empty()) {
            names_ = std::move(listingOrder_);
            inodes_ = std::move(listingInodes_);
        }
        listingOrder_.clear();
        listingInodes_.clear();
        shownFrom_.clear();
        return;
    }
    if (shownFrom_.empty()) {
        listingOrder_ = names_;
        listingInodes_ = inodes_;
    }
    const std::vector<std::int64_t> times = order_ == RowOrder::Modified && listedFolder_
                                                ? lister_.modificationTimes(*listedFolder_, listingOrder_)
                                                : std::vector<std::int64_t>(listingOrder_.size());
    shownFrom_ = rowsInOrder(listingOrder_, order_, times);
    for (std::size_t row = 0; row < shownFrom_.size(); ++row) {
        names_[row] = listingOrder_[shownFrom_[row]];
        if (!inodes_.empty())
            inodes_[row] = listingInodes_[shownFrom_[row]];
    }
}

RenameSession::ClickCheck RenameSession::failingCheck() const
{
    if (texts_.newText.empty() && mode_ != NamingMode::ReplaceCharacters)
        return ClickCheck::NoNewText;
    return listed_ ? ClickCheck::Passed : ClickCheck::NoFolder;
}

std::vector<RenameOutcome> RenameSession::renameSelected()
{
    switch (failingCheck()) {
    case ClickCheck::NoNewText:
        messages_.show(QStringLiteral("请输入新名称。"), MsgStyle::OkCancelInformation, QStringLiteral("Marvolt"));
        return {};
    case ClickCheck::NoFolder:
        messages_.show(QStringLiteral("请选择存放需要重命名文件的文件夹再执行工具！"), MsgStyle::OkInformation,
                       QStringLiteral("提示"));
        return {};
    case ClickCheck::Passed:
        break;
    }
    if (!plan_)
        plan_.emplace(mode_, texts_, names_, inodes_, selection_);
    const std::shared_ptr<FolderHandle> folder = folderToRenameIn();
    // Only a batch where a new name is another row's old one can wait on
    // rows; only then is it predicted here.
    const bool mayWait = folder && plan_->mayWaitOnRows(renamer_, folder.get()) && currentPlan()->waiting() > 0;
    // Taken, not copied: the list read anew below makes a new plan anyway.
    const BatchPlan plan = std::move(*std::exchange(plan_, std::nullopt));
    BatchOrder order = BatchOrder::AsListed;
    if (mayWait) {
        const Answer answer = messages_.ask(QStringLiteral("有 %1 个文件的新名称正被本次要改名的其他文件占用。\n\n"
                                                           "按“是”先让出这些名称，每个文件都改为它的新名称；"
                                                           "按“否”按列表顺序改名，跳过这些文件；按“取消”不改名。")
                                                .arg(plan.waiting()));
        if (answer == Answer::Cancel)
            return {};
        if (answer == Answer::Yes)
            order = BatchOrder::FreeingNamesFirst;
    }
    const std::optional<JournalHold> hold = holdJournal();
    if (!hold)
        return {};
    const BatchSchedule &schedule = plan.schedule(order);
    std::vector<RenameOutcome> outcomes;
    if (folder)
        outcomes = renameBatch(renamer_, *folder, folderPath(), schedule, journal_, [this] {
            return messages_.show(QStringLiteral("无法记录本次重命名，完成后将不能撤销。仍要重命名吗？"),
                                  MsgStyle::OkCancelExclamation, QStringLiteral("Quillbox"));
        });
    refreshFileList();
    updateUndo();
    if (!outcomes.empty())
        outcomes = perRow(schedule, outcomes, plan.requests().size(),
                          [](const RenameOutcome &outcome) { return outcome.moved(); });
    reportNotKept(plan.requests(), outcomes);
    return outcomes;
}

// A file system that did not keep a file through a fallback rename is named
// once; the batch stopped renaming at it.
void RenameSession::reportNotKept(const std::vector<RenameRequest> &requests,
                                  const std::vector<RenameOutcome> &outcomes)
{
    const auto notKept = std::find_if(outcomes.begin(), outcomes.end(), [](const RenameOutcome &outcome) {
        return outcome.status == RenameStatus::NotKept;
    });
    if (notKept == outcomes.end())
        return;
    const RenameRequest &request = requests[std::size_t(notKept - outcomes.begin())];
    messages_.show(
        QStringLiteral("“%1”改名为“%2”后，无法确认新名称下仍是原来的文件。其余文件没有再改名，请检查这个文件。")
            .arg(displayName(request.from), displayName(request.to)),
        MsgStyle::OkExclamation, QStringLiteral("Quillbox"));
}

// While the field shows the text that was listed, the folder that was listed;
// else the folder the field names now.
std::shared_ptr<FolderHandle> RenameSession::folderToRenameIn()
{
    if (text_ == listedText_ && listedFolder_)
        return listedFolder_;
    return renamer_.openFolder(folderPath());
}

// Another copy of the program renaming or undoing now is waited for a while,
// then named in a box: the two must never interleave.
std::optional<JournalHold> RenameSession::holdJournal()
{
    if (journal_.lock())
        return std::make_optional<JournalHold>(journal_);
    messages_.show(QStringLiteral("另一个 Quillbox 正在重命名或撤销，请稍后再试。"), MsgStyle::OkExclamation,
                   QStringLiteral("Quillbox"));
    return std::nullopt;
}

void RenameSession::undoLast()
{
    const std::optional<JournalHold> hold = holdJournal();
    if (!hold)
        return;
    const UndoReport report = undoLastBatch(renamer_, journal_);
    const bool shown = report.folder == absolutePath(folderPath());
    if (!report.nothingToUndo && !report.refused && shown)
        refreshFileList();
    updateUndo();
    reportUndo(report, shown);
}

void RenameSession::reportUndo(const UndoReport &report, bool shown)
{
    if (report.refused) {
        const QString why = *report.refused == UndoRefusal::FolderGone
                                ? QStringLiteral("无法撤销：上次重命名的文件夹已不存在。")
                            : *report.refused == UndoRefusal::FolderReplaced
                                ? QStringLiteral("无法撤销：上次重命名的文件夹已被移动或替换。")
                            : *report.refused == UndoRefusal::NewerVersion
                                ? QStringLiteral("无法撤销：重命名记录由更新版本的 Quillbox 写入。")
                                : QStringLiteral("无法撤销：重命名记录不完整或已损坏。");
        messages_.show(why, MsgStyle::OkExclamation, QStringLiteral("Quillbox"));
        return;
    }
    if (report.nothingToUndo)
        return;
    const auto back = std::count_if(report.outcomes.begin(), report.outcomes.end(),
                                    [](const RenameOutcome &outcome) { return outcome.moved(); });
    const QString folder = displayName(report.folder);
    if (back < qsizetype(report.outcomes.size()))
        messages_.show(
            QStringLiteral("“%1”中的上次重命名只撤销了一部分：%2 个文件已恢复原名，%3 个文件仍是新名称。\n%4")
                .arg(folder, QString::number(back), QString::number(qsizetype(report.outcomes.size()) - back),
                     undoShortfall(report)),
            MsgStyle::OkExclamation, QStringLiteral("Quillbox"));
    else if (!shown)
        messages_.show(QStringLiteral("已撤销在“%1”中的上次重命名。").arg(folder), MsgStyle::OkInformation,
                       QStringLiteral("Quillbox"));
}

void RenameSession::updateUndo()
{
    canUndo_ = ::canUndo(journal_);
    Q_EMIT changed(Change::Undo);
}

const BatchPlan *RenameSession::currentPlan()
{
    if (failingCheck() != ClickCheck::Passed)
        return nullptr;
    // A stamp proves the folder as it was predicted; where there is none, or the
    // folder had just changed then, the prediction is made again each time.
    if (plan_ && plan_->predicted() && planStamp_ && planFolder_->stamp() == planStamp_)
        return &*plan_;
    if (!plan_)
        plan_.emplace(mode_, texts_, names_, inodes_, selection_);
    planFolder_ = folderToRenameIn();
    planStamp_ = planFolder_ ? planFolder_->stamp() : std::nullopt;
    const std::int64_t now = lister_.now();
    plan_->predict(renamer_, planFolder_.get());
    if (planStamp_ && !planStamp_->settledBy(now))
        planStamp_.reset();
    return &*plan_;
}

QString RenameSession::tipFor(int row)
{
    const BatchPlan *plan = currentPlan();
    const std::optional<std::size_t> index = plan ? plan->indexOf(row) : std::nullopt;
    return index ? previewTip(*plan, *index) : QString();
}

void RenameSession::showListing(FolderListing listing)
{
    names_ = std::move(listing.names);
    inodes_ = std::move(listing.inodes);
    listedFolder_ = std::move(listing.folder);
    listedText_ = text_;
    listingOrder_.clear();
    listingInodes_.clear();
    shownFrom_.clear();
    sortRows();
    selection_.clear();
    plan_.reset();
    Q_EMIT changed(Change::Listing);
}

void RenameSession::refreshFileList() { showListing(ListFolderFiles(lister_, folderPath()).value_or(FolderListing{})); }
