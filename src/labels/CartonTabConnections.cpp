// Signals of the carton tab to their handlers.
#include "core/frmArticoli.h"

#include "core/HandlerGuard.h"
#include "core/ui/FocusEvents.h"

void frmArticoli::ConnettiImballi()
{
    // From the button the operator reads what failed; the request timer handles its own errors.
    connect(ui.cmdStampaImballi, &QPushButton::clicked, this, Protetto([this] { cmdStampaImballi_Click(); }));
    OnGotFocus(ui.mskQtImballi, Protetto([this] { mskQtImballi_GotFocus(); }));
}
