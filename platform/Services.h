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
class SettingsStore;

// The platform services a window may call, handed to it at construction.
// Tests fill it with fakes.
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
};
