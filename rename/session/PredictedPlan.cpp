// SPDX-License-Identifier: GPL-3.0-or-later

#include "PredictedPlan.h"

BatchPlan &PredictedPlan::of(const Naming &naming, const FileRows &rows)
{
    if (!plan_)
        plan_ = std::make_shared<BatchPlan>(naming.mode, naming.texts, rows.names(), rows.inodes(), rows.selection(),
                                            naming.numbering);
    return *plan_;
}

// Where there is no stamp, or the folder had just changed when it was read,
// the prediction is made again each time.
bool PredictedPlan::holds() const { return plan_ && plan_->predicted() && stamp_ && folder_->stamp() == stamp_; }

const BatchPlan &PredictedPlan::predictedOn(const std::shared_ptr<FolderHandle> &folder, FileRenamer &renamer,
                                            std::int64_t now, const FileRows &rows)
{
    folder_ = folder;
    stamp_ = folder_ ? folder_->stamp() : std::nullopt;
    if (stamp_ && !stamp_->settledBy(now))
        stamp_.reset();
    // Only a stamp that settled before the reading proves the folder unchanged since.
    const bool seedHolds = stamp_ && seeded_ && seeded_->folder == folder_ && seeded_->stamp == *stamp_
                           && seeded_->rows == rows.generation();
    if (!seedHolds)
        seeded_.reset();
    if (stamp_ && !seeded_ && !foldsCase(renamer, *folder_, plan_->requests())) {
        seeded_.emplace(Seeded{{rows.names(), renamer.nameRulesIn(*folder_)}, folder_, *stamp_, rows.generation()});
        if (!seeded_->seed.read(renamer, *folder_))
            seeded_.reset();
    }
    plan_->predict(renamer, folder_.get(), seeded_ ? &seeded_->seed : nullptr);
    return *plan_;
}
