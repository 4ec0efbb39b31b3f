// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "BatchPlan.h"
#include "FileRows.h"

// The plan a click would run on the rows, and the folder's stamp that proves
// its prediction still holds.
class PredictedPlan {
public:
    // Forgets the plan, for inputs that changed.
    void drop() { plan_.reset(); }
    // The plan of these inputs, made where it was dropped.
    BatchPlan &of(const Naming &naming, const FileRows &rows);
    // The plan, predicted again on `folder` unless its stamp proves it
    // unchanged. While the stamp proves the folder and `rows` unchanged since
    // the last prediction, it starts from what that one read of them.
    const BatchPlan &predictedOn(const std::shared_ptr<FolderHandle> &folder, FileRenamer &renamer, std::int64_t now,
                                 const FileRows &rows);
    // Whether a prediction is kept and the folder it was made on is as it was then.
    bool holds() const;
    // The plan as the preview holds it while it shows it.
    std::shared_ptr<const BatchPlan> shared() const { return plan_; }
    // The plan, given up: a click runs it, and its outcome makes a new one anyway.
    std::shared_ptr<const BatchPlan> take() { return std::exchange(plan_, nullptr); }

private:
    std::shared_ptr<BatchPlan> plan_;
    std::shared_ptr<FolderHandle> folder_;
    std::optional<FolderStamp> stamp_;
    // The rows and the folder as read, with what they were read at.
    struct Seeded {
        FolderSimulation::Seed seed;
        std::shared_ptr<FolderHandle> folder;
        FolderStamp stamp;
        std::uint64_t rows;
    };
    std::optional<Seeded> seeded_;
};
