#include "core/event_source_registration.h"

namespace tarvex {

bool RegistrationNeeded(const SourceRegistration& found) {
    const bool namesAFile = found.messageFile && !found.messageFile->empty();
    return !(found.keyFound && namesAFile && found.messageFileFound);
}

}  // namespace tarvex
