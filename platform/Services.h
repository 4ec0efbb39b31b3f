// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class Beeper;
class FileRenamer;
class FolderLister;
class FolderPicker;
class InstanceGuard;
class JournalStore;
class LinkOpener;
class MessageBox;
class ProgressBox;
class SettingsStore;

// Every platform service the program uses, owned in one place. Tests fill it with fakes.
struct Services {
    MessageBox &messages;
    FolderPicker &picker;
    FolderLister &lister;
    FileRenamer &renamer;
    SettingsStore &settings;
    LinkOpener &links;
    Beeper &beeper;
    InstanceGuard &instances;
    JournalStore &journal;
    ProgressBox &progress;
};

// What the rename window calls.
struct RenameServices {
    MessageBox &messages;
    FolderPicker &picker;
    FolderLister &lister;
    FileRenamer &renamer;
    JournalStore &journal;
    ProgressBox &progress;
    RenameServices(const Services &all)
        : messages(all.messages)
        , picker(all.picker)
        , lister(all.lister)
        , renamer(all.renamer)
        , journal(all.journal)
        , progress(all.progress)
    {
    }
};

// What the About window calls.
struct AboutServices {
    MessageBox &messages;
    SettingsStore &settings;
    LinkOpener &links;
    Beeper &beeper;
    InstanceGuard &instances;
    AboutServices(const Services &all)
        : messages(all.messages)
        , settings(all.settings)
        , links(all.links)
        , beeper(all.beeper)
        , instances(all.instances)
    {
    }
};
