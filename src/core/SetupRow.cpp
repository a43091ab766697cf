#include "core/SetupRow.h"

#include "core/db/Database.h"
#include "core/db/Recordset.h"

void EditSetupRow(Database& db, Recordset& setup, const std::function<void(Recordset&)>& change)
{
    const bool ownTransaction = !db.InTransaction();
    if (ownTransaction) db.BeginTrans();
    try {
        setup.Edit();
        change(setup);
        setup.Update();
        if (ownTransaction) db.CommitTrans();
    } catch (...) {
        setup.CancelUpdate();
        if (ownTransaction) db.Rollback();
        throw;
    }
}

qint64 AdvanceCounter(Database& db, Recordset& setup, const std::function<qint64(qint64)>& next)
{
    qint64 value = 0;
    EditSetupRow(db, setup, [&](Recordset& row) {
        value = next(row.Value(QStringLiteral("contatore")).toLongLong());
        row.SetValue(QStringLiteral("contatore"), value);
    });
    return value;
}

qint64 CounterInFile(Recordset& setup)
{
    setup.Edit();
    const qint64 value = setup.Value(QStringLiteral("contatore")).toLongLong();
    setup.CancelUpdate();
    return value;
}
