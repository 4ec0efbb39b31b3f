// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Beeper.h"
#include "FileRenamer.h"
#include "FolderLister.h"
#include "FolderPicker.h"
#include "InstanceGuard.h"
#include "JournalStore.h"
#include "LinkOpener.h"
#include "MessageBox.h"
#include "ProgressBox.h"
#include "SettingsStore.h"
#include "SystemServices.h"
#include "posix/PosixFolderLister.h"

#include <QEventLoop>
#include <QMap>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <utility>
#include <vector>

// Records each box. With `stayOpenUntil` set, a box stays open the way a real
// one does: a nested event loop runs, timers fire and windows may end, until
// the condition holds.
struct FakeMessageBox : MessageBox {
    struct Shown {
        QString text;
        MsgStyle style;
        QString title;
    };
    std::vector<Shown> shown;
    QStringList asked; // the questions, in turn
    std::function<bool()> stayOpenUntil;
    bool open = false;
    bool answer = true; // OK, or Cancel where the box has it
    Answer reply = Answer::Yes;

    bool show(const QString &text, MsgStyle style, const QString &title) override
    {
        shown.push_back({text, style, title});
        stayOpen();
        return answer;
    }
    Answer ask(const QString &text, const QString &) override
    {
        asked << text;
        stayOpen();
        return reply;
    }

private:
    void stayOpen()
    {
        if (!stayOpenUntil)
            return;
        open = true;
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (stayOpenUntil())
                loop.quit();
        });
        poll.start(5);
        QTimer::singleShot(20000, &loop, &QEventLoop::quit); // a box nobody dismisses must not hang the run
        loop.exec();
        open = false;
    }
};

struct FakePicker : FolderPicker {
    std::optional<QString> answer;
    QStringList titles;
    std::optional<QString> pick(const QString &title) override
    {
        titles << title;
        return answer;
    }
};

struct FakeSettings : SettingsStore {
    QMap<QString, QString> values; // "app/section/key" -> text
    int writes = 0;
    static QString path(const QString &app, const QString &section, const QString &key)
    {
        return app + '/' + section + '/' + key;
    }
    QString read(const QString &app, const QString &section, const QString &key, const QString &fallback) override
    {
        return values.value(path(app, section, key), fallback);
    }
    void write(const QString &app, const QString &section, const QString &key, const QString &value) override
    {
        values[path(app, section, key)] = value;
        ++writes;
    }
};

struct FakeLinkOpener : LinkOpener {
    bool succeeds = true;
    QStringList opened;
    bool open(const QString &link) override
    {
        opened << link;
        return succeeds;
    }
};

struct FakeBeeper : Beeper {
    int beeps = 0;
    void beep() override { ++beeps; }
};

struct FakeInstanceGuard : InstanceGuard {
    bool other = false;
    bool otherCopyRunning() const override { return other; }
};

// The journal in memory. `acceptAppends` limits how many appends arrive, as
// when the program dies part-way through a batch.
struct FakeJournal : JournalStore {
    std::optional<std::string> text;
    std::optional<std::string> previous;
    int acceptAppends = -1;
    bool refuseStart = false;
    bool start(const std::string &plan) override
    {
        if (refuseStart)
            return false;
        previous = std::exchange(text, plan);
        return true;
    }
    bool append(const std::string &more, bool) override
    {
        if (!text || acceptAppends == 0)
            return false;
        if (acceptAppends > 0)
            --acceptAppends;
        *text += more;
        return true;
    }
    int wholeReads = 0;
    std::optional<std::string> read() override
    {
        ++wholeReads;
        return text;
    }
    std::optional<std::string> readEnd(std::size_t bytes) override
    {
        return text ? std::optional(text->substr(text->size() - std::min(bytes, text->size()))) : std::nullopt;
    }
    bool exists() override { return text.has_value(); }
    void clear() override { text.reset(); }
    void restorePrevious() override { text = std::exchange(previous, std::nullopt); }
    bool heldElsewhere = false;
    bool lock(bool) override { return !heldElsewhere; }
    void unlock() override {}
};

// Records the progress shown; 停止 is pressed once `stopAt` steps are done.
struct FakeProgressBox : ProgressBox {
    struct Begun {
        std::size_t total;
        QString folder;
        bool undo;
    };
    std::vector<Begun> begun;
    std::size_t lastDone = 0;
    int ended = 0;
    std::size_t stopAt = SIZE_MAX;
    void begin(std::size_t total, const QString &folder, bool undo) override { begun.push_back({total, folder, undo}); }
    bool advance(std::size_t done) override
    {
        lastDone = done;
        return done < stopAt;
    }
    void end() override { ++ended; }
};

// Fakes for everything a person answers or sees; the real folder listing and
// rename, so that tests check outcomes on disk.
struct FakeServices {
    FakeMessageBox messages;
    FakePicker picker;
    // The wall clock as the listing and the preview read it, `clockAhead` ns later.
    std::int64_t clockAhead = 0;
    std::unique_ptr<FolderLister> lister
        = std::make_unique<PosixFolderLister>([this] { return PosixFolderLister().now() + clockAhead; });
    std::unique_ptr<FileRenamer> renamer = makeSystemRenamer();
    FakeSettings settings;
    FakeLinkOpener links;
    FakeBeeper beeper;
    FakeInstanceGuard instances;
    FakeJournal journal;
    FakeProgressBox progress;

    Services services()
    {
        return Services{messages, picker, *lister, *renamer, settings, links, beeper, instances, journal, progress};
    }
};
