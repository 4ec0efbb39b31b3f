// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "RenameSession.h"
#include "Services.h"

#include <QPointer>
#include <QWidget>

class BannerStrip;
class FileListModel;
class FileListView;
class FolderField;
class PreviewWindow;
class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QDropEvent;
class QPushButton;
class QRadioButton;
class WindowRef;

// The start-up window: pick a folder, select files, choose a naming mode and
// rename. A view only: its session holds the folder, the rows, the selection,
// the naming and undo, and does the work; the window passes on what the user
// does and shows what the session tells. Its controls carry the names the
// handlers use.
class RenameWindow : public QWidget {
    Q_OBJECT
public:
    RenameWindow(const RenameServices &services, WindowRef &about, QWidget *parent = nullptr);

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
    void showChange(RenameSession::Change what);

    void UserForm_Activate();
    void 路径_DblClick();
    void takeFolder(const NameBytes &picked);
    void enableSelecting();
    std::optional<NameBytes> folderOfDrop(const QDropEvent *event);
    void CommandButton2_Click();
    void setReplaceFieldsEnabled(bool enabled);
    void passNaming();
    void passSelection();
    void showPreview();

    FolderPicker &picker_;
    FileRenamer &renamer_;
    RenameSession session_;
    WindowRef &about_;
    FileListModel *files_ = nullptr;
    QAction *undo_ = nullptr;
    QPointer<PreviewWindow> preview_;
    bool activated_ = false;
    bool showingSelection_ = false;

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
