// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "BuildNewName.h"
#include "FolderLister.h"
#include "JournalStore.h"
#include "RenamePreview.h"
#include "RowRanges.h"
#include "Services.h"

#include <QWidget>

class BannerStrip;
class FileListModel;
class FileListView;
class FolderField;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QDropEvent;
class QPushButton;
class QRadioButton;
class WindowRef;

// The start-up window: pick a folder, select files, choose a naming mode and
// rename. It keeps its whole state in its controls, which carry the names the
// handlers use.
class RenameWindow : public QWidget {
    Q_OBJECT
public:
    RenameWindow(const Services &services, WindowRef &about, QWidget *parent = nullptr);

    // Opens a folder given on the command line as if it had been picked; a path
    // that is not a folder gets a message instead.
    void startWithFolder(const NameBytes &path);

protected:
    void showEvent(QShowEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildControls();
    void applyTabOrder();
    void connectHandlers();

    void UserForm_Activate();
    void 路径_DblClick();
    void takeFolder(const NameBytes &picked);
    std::optional<NameBytes> folderOfDrop(const QDropEvent *event);
    NameBytes folderPath() const;
    void 全选_Click();
    void 反选_Click();
    void CommandButton1_Click();
    void reportNotKept(const std::vector<RenameRequest> &requests, const std::vector<RenameOutcome> &outcomes);
    void CommandButton2_Click();
    void setReplaceFieldsEnabled(bool enabled);

    // Beyond the click: take the last batch back, and tell per row what a click would do.
    void undoLastRename();
    std::optional<JournalHold> holdJournal();
    void updateUndo();
    QString tipForRow(int row);

    NamingMode namingMode() const;
    NamingTexts namingTexts() const;
    std::shared_ptr<FolderHandle> folderToRenameIn();
    std::vector<RowRange> selectedRanges() const;
    void selectRanges(const std::vector<RowRange> &ranges);
    void showListing(FolderListing listing);
    void refreshFileList();

    Services services_;
    WindowRef &about_;
    FileListModel *files_ = nullptr;
    // The folder the list was read from, and the folder field's text then: a
    // click renames there while the field still shows that text.
    std::shared_ptr<FolderHandle> listedFolder_;
    QString listedText_;
    // The text put into the folder field and the path it stands for, which
    // may be bytes no text can carry.
    QString fieldText_;
    NameBytes fieldPath_;
    QAction *undo_ = nullptr;
    // What a click would do now; dropped whenever the list, selection, mode or texts change.
    std::optional<RenamePreview> preview_;
    bool activated_ = false;

    QLabel *Label1 = nullptr;
    FolderField *路径 = nullptr;
    QLabel *Label2 = nullptr;
    FileListView *ListBox1 = nullptr;
    QGroupBox *隐藏选项 = nullptr;
    QPushButton *全选 = nullptr;
    QPushButton *反选 = nullptr;
    QGroupBox *命名方式 = nullptr;
    QRadioButton *插入到原名称之前 = nullptr;
    QRadioButton *插入到原名称之后 = nullptr;
    QRadioButton *替换原文件名 = nullptr;
    QRadioButton *替换指定字符 = nullptr;
    QLabel *Label5 = nullptr;
    QLineEdit *TextBox1 = nullptr;
    QLabel *Label6 = nullptr;
    QLineEdit *TextBox2 = nullptr;
    QLabel *Label7 = nullptr;
    QLineEdit *新名称 = nullptr;
    QPushButton *CommandButton1 = nullptr;
    QPushButton *CommandButton2 = nullptr;
    BannerStrip *ShockwaveFlash1 = nullptr;
};
