#include "core/HandlerGuard.h"

#include "core/ui/Dialogs.h"

void MostraErrore(const AppError& error)
{
    MsgBox(QStringLiteral("Errore: ") + error.description(), vbExclamation | vbOKOnly, QStringLiteral("Errore"));
}
