// SPDX-License-Identifier: GPL-3.0-or-later

#include "SystemServices.h"

#include "FileJournalStore.h"
#include "LockFileInstanceGuard.h"
#include "QtBeeper.h"
#include "QtFolderPicker.h"
#include "QtLinkOpener.h"
#include "QtMessageBox.h"
#include "QtProgressBox.h"
#include "QtSettingsStore.h"

#ifdef _WIN32
#include "win/WinFileRenamer.h"
#include "win/WinFolderLister.h"
#else
#include "posix/PosixFileRenamer.h"
#include "posix/PosixFolderLister.h"
#endif

#ifdef _WIN32
std::unique_ptr<FolderLister> makeSystemLister() { return std::make_unique<WinFolderLister>(); }
std::unique_ptr<FileRenamer> makeSystemRenamer() { return std::make_unique<WinFileRenamer>(); }
#else
std::unique_ptr<FolderLister> makeSystemLister() { return std::make_unique<PosixFolderLister>(); }
std::unique_ptr<FileRenamer> makeSystemRenamer() { return std::make_unique<PosixFileRenamer>(); }
#endif

struct SystemServices::Impl {
    QtMessageBox messages;
    QtFolderPicker picker;
    std::unique_ptr<FolderLister> lister = makeSystemLister();
    std::unique_ptr<FileRenamer> renamer = makeSystemRenamer();
    QtSettingsStore settings;
    QtLinkOpener links;
    QtBeeper beeper;
    LockFileInstanceGuard instances;
    FileJournalStore journal;
    QtProgressBox progress;
};

SystemServices::SystemServices()
    : impl_(std::make_unique<Impl>())
{
}

SystemServices::~SystemServices() = default;

Services SystemServices::services()
{
    return Services{impl_->messages, impl_->picker, *impl_->lister,   *impl_->renamer, impl_->settings,
                    impl_->links,    impl_->beeper, impl_->instances, impl_->journal,  impl_->progress};
}
