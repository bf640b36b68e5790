// The events a dialog sends, recorded for a test to read.
#pragma once

#include "gui/CGuiDialog.h"

#include <vector>

struct RecordedEvent {
    UINT event;
    int id;
    CGuiControl* control;
};

// Collects the events a dialog sends; an optional hook runs inside the callback.
class EventLog {
public:
    using Hook = void (*)(EventLog& log, UINT event, int id, CGuiControl* control);

    void Attach(CGuiDialog& dialog) { dialog.SetCallback(&EventLog::Callback, this); }
    size_t Count() const { return events.size(); }
    size_t Count(GuiEvent event) const;
    const RecordedEvent& Last() const { return events.back(); }
    void Clear() { events.clear(); }

    std::vector<RecordedEvent> events;
    Hook hook = nullptr;
    void* context = nullptr;

private:
    static void Callback(UINT event, int id, CGuiControl* control, void* userContext);
};
