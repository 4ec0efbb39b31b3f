// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "FileRows.h"
#include "JournalStore.h"
#include "PredictedPlan.h"
#include "ProgressBox.h"
#include "SessionReports.h"

#include <QObject>

// What one rename window works on: the folder field, the listed rows, the
// naming mode and texts, the plan a click would run, and whether there is a
// batch to undo. The window shows it and passes on what the user does.
class RenameSession : public QObject {
    Q_OBJECT
public:
    enum class Change {
        Field,     // the folder field's text was put anew
        Listing,   // the rows are new, none selected
        Selection, // the selection was set from here
        Undo,      // whether there is a batch to undo
        Plan,      // what a click would do may have changed
    };

    RenameSession(MessageBox &messages, ProgressBox &progress, FolderLister &lister, FileRenamer &renamer,
                  JournalStore &journal, QObject *parent = nullptr);

    // Puts a folder into the field and lists its files, with the hint box;
    // false when it has none, which a box says while the old rows stay.
    bool takeFolder(const NameBytes &picked);
    // The same for a folder given at start; a path that is no folder gets a box.
    bool startWithFolder(const NameBytes &path);
    void setFieldText(const QString &text);
    const QString &fieldText() const { return text_; }
    // The path the field stands for: what was put into it while it shows that.
    NameBytes folderPath() const;

    const FileRows &rows() const { return rows_; }
    void setSelection(std::vector<RowRange> merged);
    void selectAll();
    void invertSelection();
    // Shows the rows in another order, the selected files still selected.
    void setOrder(RowOrder order);

    void setNaming(NamingMode mode, const NamingTexts &texts);
    // Holds for this run of the program only.
    void setNumbering(const Numbering &numbering);
    const Numbering &numbering() const { return naming_.numbering; }

    // The click: its checks, then the batch, the list read anew, and a box
    // for what stopped it or went wrong. A long batch shows its progress and
    // can be stopped after any file.
    ClickResult renameSelected();
    // None where another copy held the journal.
    std::optional<UndoReport> undoLast();
    bool canUndo() const { return canUndo_; }

    // What a click would do now, predicted on the folder as it is; nothing
    // while the click would stop at a check.
    std::shared_ptr<const BatchPlan> currentPlan();
    // The tip of one row: empty for a row not selected, or while a click would stop at a check.
    QString tipFor(int row);

Q_SIGNALS:
    void changed(RenameSession::Change what);
    // A click ran the batch `plan`; `result` tells each selected row's outcome.
    void clicked(const std::shared_ptr<const BatchPlan> &plan, const ClickResult &result);
    // One short sentence of what a click that renamed or an undo came to.
    void told(const QString &summary);

private:
    std::optional<JournalHold> holdJournal();
    // Shows the progress of `work` where it runs long, and takes the press of 停止.
    template <class Work> auto watched(bool undo, Work work);
    std::shared_ptr<FolderHandle> folderToRenameIn();
    void showListing(FolderListing listing);
    void refreshFileList();
    void updateUndo();
    void dropPlan();
    // The click's first failing check, in its order; Ran where all pass.
    ClickResult::End failingCheck() const;

    MessageBox &messages_;
    ProgressBox &progress_;
    FolderLister &lister_;
    FileRenamer &renamer_;
    JournalStore &journal_;

    QString text_;
    // The text put into the field and the path it stands for, which may be
    // bytes no text can carry.
    QString putText_;
    NameBytes putPath_;

    FileRows rows_;
    // The field's text when the rows were read: a click renames in their
    // folder while the field still shows it.
    QString listedText_;
    bool listed_ = false; // a folder with files has been listed, so that a click may run

    Naming naming_;
    // Dropped when any input above changes.
    PredictedPlan plan_;

    bool canUndo_ = false;
    bool running_ = false; // a batch or undo runs, while its box lets events through
};
