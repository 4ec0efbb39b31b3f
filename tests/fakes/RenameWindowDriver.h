// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "FakeServices.h"
#include "FolderFiles.h"
#include "RenameWindow.h"
#include "WindowRef.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

// A shown rename window on fake services, with its controls found by name
// and a few steps a person takes.
struct RenameWindowDriver {
    FakeServices fakes;
    int aboutWindowsMade = 0;
    WindowRef about{[this] {
        ++aboutWindowsMade;
        auto *window = new QWidget(nullptr, Qt::Tool);
        window->setAttribute(Qt::WA_DeleteOnClose);
        return window;
    }};
    JournalStore *journal;
    RenameWindow window;

    // With the fakes' journal in memory, or with `journalOnDisk`; with the
    // system's renamer, or with `renamer`.
    explicit RenameWindowDriver(JournalStore *journalOnDisk = nullptr, FileRenamer *renamer = nullptr)
        : journal(journalOnDisk ? journalOnDisk : &fakes.journal)
        , window(Services{fakes.messages, fakes.picker, *fakes.lister, renamer ? *renamer : *fakes.renamer,
                          fakes.settings, fakes.links, fakes.beeper, fakes.instances, *journal, fakes.progress},
                 about)
    {
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            qWarning("rename window did not become active");
    }

    template <class T> T *control(const char *name) const { return window.findChild<T *>(QString::fromUtf8(name)); }
    QListView *list() const { return control<QListView>("ListBox1"); }
    QAbstractItemModel *model() const { return list()->model(); }
    QLineEdit *field(const char *name) const { return control<QLineEdit>(name); }
    QPushButton *button(const char *name) const { return control<QPushButton>(name); }
    QRadioButton *option(const char *name) const { return control<QRadioButton>(name); }

    // Double-clicks the folder field with the picker answering `folder`.
    void pickFolder(const std::optional<QString> &folder)
    {
        fakes.picker.answer = folder;
        QTest::mouseDClick(field("路径"), Qt::LeftButton);
    }

    // Chooses a naming mode, fills in the texts and presses 确定.
    void rename(const char *mode, const QString &newText, const QString &find = {}, const QString &with = {})
    {
        QTest::mouseClick(option(mode), Qt::LeftButton);
        field("新名称")->setText(newText);
        field("TextBox1")->setText(find);
        field("TextBox2")->setText(with);
        QTest::mouseClick(button("CommandButton1"), Qt::LeftButton);
    }

    QStringList rows() const
    {
        QStringList out;
        for (int row = 0; row < model()->rowCount(); ++row)
            out << model()->index(row, 0).data().toString();
        return out;
    }
    QByteArray content(const QString &path) const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    QList<int> selectedRows() const
    {
        QList<int> out;
        for (const QModelIndex &index : list()->selectionModel()->selectedIndexes())
            out << index.row();
        std::sort(out.begin(), out.end());
        return out;
    }
    void selectRows(const QList<int> &rows)
    {
        list()->selectionModel()->clearSelection();
        for (int row : rows)
            list()->selectionModel()->select(model()->index(row, 0), QItemSelectionModel::Select);
    }
    void selectNames(const QStringList &names)
    {
        QList<int> picked;
        const QStringList all = rows();
        for (const QString &name : names)
            picked << int(all.indexOf(name));
        selectRows(picked);
    }
};
