#pragma once

#include "core/deletion_plan.h"
#include "core/hand_over_plan.h"
#include "core/services.h"
#include "util/encoded_text.h"

namespace tarvex {

// What a front end is asked between the plan and the deletion. The
// answers are its own; what follows from each is the core's.
class DeletionQuestions {
public:
    virtual ~DeletionQuestions() = default;
    // A ghost's static settings would go with no adapter taking them: true
    // deletes them as selected, false keeps each such ghost whole.
    virtual bool DeleteWithoutHandOver(const HandOverPlan& handOver) = 0;
    // No backup brings an uninstalled device back.
    virtual bool Uninstall(const DeletionPlan& plan) = 0;
    // The hand-over changes a present adapter: false deletes as planned and hands nothing over.
    virtual bool HandOver(const HandOverPlan& handOver) = 0;
};

enum class Readiness {
    Ready,
    Declined,    // the uninstall was declined: nothing is deleted
    NoUndoFile,  // the hand-over's undo file cannot be made: nothing is deleted
};

// Between the plan and the deletion, in this order: the ghosts whose static
// settings no adapter can take (kept whole unless the front end says
// otherwise), the uninstall, the hand-over, and the hand-over's undo file,
// made before anything is deleted (a dry run's is removed at once). The dry
// run walks the same steps, so what it reports is what the run would do.
Readiness PrepareDeletion(const Services& services, DeletionPlan& plan, DeletionQuestions& questions,
                          const Utf8Text& backupFolder, bool dryRun);

}  // namespace tarvex
