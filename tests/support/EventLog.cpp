// The event log's callback and counts.
#include "support/EventLog.h"

size_t EventLog::Count(GuiEvent event) const {
    size_t count = 0;
    for (const RecordedEvent& recorded : events) {
        count += recorded.event == static_cast<UINT>(event) ? 1 : 0;
    }
    return count;
}

void EventLog::Callback(UINT event, int id, CGuiControl* control, void* userContext) {
    auto* log = static_cast<EventLog*>(userContext);
    log->events.push_back({event, id, control});
    if (log->hook) {
        log->hook(*log, event, id, control);
    }
}
