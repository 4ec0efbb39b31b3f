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
                                            std::int64_t now)
{
    folder_ = folder;
    stamp_ = folder_ ? folder_->stamp() : std::nullopt;
    plan_->predict(renamer, folder_.get());
    if (stamp_ && !stamp_->settledBy(now))
        stamp_.reset();
    return *plan_;
}
