#include "core/deletion_steps.h"

#include "core/hand_over.h"

namespace tarvex {

Readiness PrepareDeletion(const Services& services, DeletionPlan& plan, DeletionQuestions& questions,
                          const Utf8Text& backupFolder, bool dryRun) {
    if (plan.handOver && StaticSettingsWouldGo(*plan.handOver) && !questions.DeleteWithoutHandOver(*plan.handOver)) {
        KeepStaticGhostsWhole(plan, services, WhyNotPaired(*plan.handOver).value_or(""));
    }
    if (!plan.devices.empty() && !questions.Uninstall(plan)) return Readiness::Declined;
    if (!plan.handOver || !Paired(*plan.handOver)) return Readiness::Ready;
    if (!questions.HandOver(*plan.handOver)) {
        plan.handOver.reset();
        return Readiness::Ready;
    }
    return PrepareUndoFile(services, *plan.handOver, backupFolder, dryRun) ? Readiness::Ready : Readiness::NoUndoFile;
}

}  // namespace tarvex
