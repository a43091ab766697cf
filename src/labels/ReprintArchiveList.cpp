#include "labels/ReprintArchiveList.h"

#include "core/Formats.h"
#include "core/Utility.h"
#include "core/db/Database.h"
#include "core/db/Recordset.h"
#include "labels/Reprint.h"

namespace {

QString description(Database& db, qint64 idAppTestate)
{
    const std::vector<PalletLine> lines = ReadArchivedLines(db, idAppTestate);
    if (lines.empty()) return {};
    for (const PalletLine& line : lines)
        if (line.codEAN != lines.front().codEAN) return QStringLiteral("Vari");
    return lines.front().descrizione;
}

QString number(const QVariant& v) { return v.isNull() ? QString() : GeneralNumber(v.toDouble()); }

// `where` ends in a literal or is empty; the SSCC index serves the order and the range.
void append(Database& db, const QString& where, int limit, std::vector<ArchiveListRow>& rows)
{
    if (limit <= 0) return;
    auto rs = db.OpenRecordset(QStringLiteral("SELECT TOP ") + QString::number(limit) + QStringLiteral(" * FROM AppTestate") + where
                               + QStringLiteral(" ORDER BY SSCC DESC, IDAppTestate DESC"));
    for (; !rs->Eof(); rs->MoveNext()) {
        const qint64 id = rs->Value(QStringLiteral("IDAppTestate")).toLongLong();
        rows.push_back({id, NzStr(rs->Value(QStringLiteral("SSCC"))), number(rs->Value(QStringLiteral("QtCartoni"))),
                        number(rs->Value(QStringLiteral("numpezzi"))), number(rs->Value(QStringLiteral("pesolordo"))),
                        description(db, id)});
    }
    rs->Close();
}

} // namespace

std::vector<ArchiveListRow> ArchiveListPage(Database& db, const std::optional<ArchiveListCursor>& after, int count)
{
    std::vector<ArchiveListRow> rows;
    if (!after) {
        append(db, QString(), count, rows);
        return rows;
    }
    // Two index ranges: the rest of the last SSCC listed, then the SSCCs below it.
    const QString sscc = QStringLiteral("'") + SqlQuote(after->sscc) + QStringLiteral("'");
    append(db, QStringLiteral(" WHERE SSCC = ") + sscc + QStringLiteral(" AND IDAppTestate < ") + QString::number(after->idAppTestate),
           count, rows);
    append(db, QStringLiteral(" WHERE SSCC < ") + sscc, count - int(rows.size()), rows);
    return rows;
}
