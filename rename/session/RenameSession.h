// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "BatchPlan.h"
#include "FolderLister.h"
#include "JournalStore.h"
#include "MessageBox.h"
#include "RenameBatch.h"
#include "RowOrder.h"

#include <QObject>

// What one rename window works on: the folder field, the listed folder and
// its files, the selection, the naming mode and texts, the plan a click would
// run, and whether there is a batch to undo. The window shows it and passes on
// what the user does; the boxes it needs are shown from here.
class RenameSession : public QObject {
    Q_OBJECT
public:
    enum class Change {
        Field,     // the folder field's text was put anew
        Listing,   // the rows are new, none selected
        Selection, // the selection was set from here
        Undo,      // whether there is a batch to undo
    };

    RenameSession(MessageBox &messages, FolderLister &lister, FileRenamer &renamer, JournalStore &journal,
                  QObject *parent = nullptr);

    // Puts a folder into the field and lists its files, with the hint box;
    // false when it has none, which a box says while the old rows stay.
    bool takeFolder(const NameBytes &picked);
    // The same for a folder given at start; a path that is no folder gets a box.
    bool startWithFolder(const NameBytes &path);
    void setFieldText(const QString &text);
    const QString &fieldText() const { return text_; }
    // The path the field stands for: what was put into it while it shows that.
    NameBytes folderPath() const;

    const std::vector<NameBytes> &names() const { return names_; }
    // Whether a folder with files has been listed, so that selecting works.
    bool listed() const { return listed_; }

    void setSelection(std::vector<RowRange> merged);
    const std::vector<RowRange> &selection() const { return selection_; }
    void selectAll();
    void invertSelection();

    void setNaming(NamingMode mode, const NamingTexts &texts);

    // Shows the rows in another order, the selected files still selected. The
    // order holds for every listing after it.
    void setOrder(RowOrder order);
    RowOrder order() const { return order_; }

    // The click: its checks, then the batch, the list read anew and what went wrong told.
    // Returns the outcome of each selected row; none when a check or a box stopped it.
    std::vector<RenameOutcome> renameSelected();
    void undoLast();
    bool canUndo() const { return canUndo_; }

    // What a click would do now, predicted on the folder as it is; nothing
    // while the click would stop at a check.
    const BatchPlan *currentPlan();
    // The tip of one row: empty for a row not selected, or while a click would stop at a check.
    QString tipFor(int row);

Q_SIGNALS:
    void changed(RenameSession::Change what);

private:
    std::optional<JournalHold> holdJournal();
    std::shared_ptr<FolderHandle> folderToRenameIn();
    void showListing(FolderListing listing);
    void refreshFileList();
    void updateUndo();
    void reportNotKept(const std::vector<RenameRequest> &requests, const std::vector<RenameOutcome> &outcomes);
    // `shown`: the batch was in the folder the rows show.
    void reportUndo(const UndoReport &report, bool shown);
    // The click's checks, in its order; the preview shows nothing where one fails.
    enum class ClickCheck { Passed, NoNewText, NoFolder };
    ClickCheck failingCheck() const;
    void sortRows();

    MessageBox &messages_;
    FolderLister &lister_;
    FileRenamer &renamer_;
    JournalStore &journal_;

    QString text_;
    // The text put into the field and the path it stands for, which may be
    // bytes no text can carry.
    QString putText_;
    NameBytes putPath_;
    std::vector<NameBytes> names_;      // as shown
    std::vector<std::uint64_t> inodes_; // each shown row's inode number; none where unknown
    // In another order than the file system's: the rows as listed, and for
    // each shown row its place among them.
    std::vector<NameBytes> listingOrder_;
    std::vector<std::uint64_t> listingInodes_;
    std::vector<std::size_t> shownFrom_;
    RowOrder order_ = RowOrder::FileSystem;
    // The folder the rows were read from, and the field's text then: a click
    // renames there while the field still shows that text.
    std::shared_ptr<FolderHandle> listedFolder_;
    QString listedText_;
    bool listed_ = false;

    std::vector<RowRange> selection_;
    NamingMode mode_ = NamingMode::InsertBefore;
    NamingTexts texts_;

    // Made anew when any input above changes, or when the folder may have
    // changed since its prediction.
    std::optional<BatchPlan> plan_;
    std::shared_ptr<FolderHandle> planFolder_;
    std::optional<FolderStamp> planStamp_;

    bool canUndo_ = false;
};
