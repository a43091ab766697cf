#include "ddt/ErroreDB.h"

#include "core/Globals.h"
#include "core/Utility.h"
#include "core/db/AppError.h"
#include "core/db/Database.h"
#include "core/ui/Dialogs.h"

void MostraErroreDB(const AppError& e)
{
    if (DB->Errors().empty()) MsgBox(QStringLiteral("Errore: ") + e.description(), vbExclamation, QStringLiteral("Errore"));
    else ShowDBErrors(*DB);
}
