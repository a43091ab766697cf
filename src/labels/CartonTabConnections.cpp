// Signals of the carton tab to their handlers.
#include "core/frmArticoli.h"

#include "core/HandlerGuard.h"
#include "core/db/AppError.h"
#include "core/ui/Dialogs.h"
#include "core/ui/FocusEvents.h"

void frmArticoli::ConnettiImballi()
{
    connect(ui.cmdStampaImballi, &QPushButton::clicked, this, [this] {
        // From the button the operator reads what failed; the request timer handles its own errors.
        try {
            cmdStampaImballi_Click();
        } catch (const AppError& e) {
            MostraErrore(e);
        }
    });
    OnGotFocus(ui.mskQtImballi, [this] { mskQtImballi_GotFocus(); });
}
