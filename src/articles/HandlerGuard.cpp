#include "articles/HandlerGuard.h"

#include "core/ui/Dialogs.h"

void MostraErrore(const AppError& error)
{
    MsgBox(QStringLiteral("Errore: ") + error.description(), vbCritical, QStringLiteral("Errore"));
}
