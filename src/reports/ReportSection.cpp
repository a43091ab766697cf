#include "reports/ReportSection.h"

#include "core/db/AppError.h"
#include "core/db/Recordset.h"

#include <algorithm>
#include <limits>

namespace {

[[noreturn]] void Missing(const QString& what, const QString& name)
{
    throw AppError(20553, QStringLiteral("Report"), QStringLiteral("%1 %2 non presente nel modello").arg(what, name));
}

} // namespace

ReportSection::ReportSection(QString name, const ReportTemplate& tmpl)
    : name_(std::move(name)), tmpl_(std::make_shared<const ReportTemplate>(tmpl))
{
    bands_.reserve(tmpl_->bands.size());
    for (const TemplateBand& b : tmpl_->bands)
        bands_.emplace_back(b);
}

void ReportSection::SetDataSource(Recordset& rs)
{
    rows_.clear();
    if (rs.IsEmpty()) return;
    rs.MoveFirst();
    for (; !rs.Eof(); rs.MoveNext()) {
        ReportRow row;
        for (int i = 0; i < rs.FieldCount(); ++i)
            row.insert(rs.FieldName(i).toLower(), rs.Value(rs.FieldName(i)));
        rows_.push_back(std::move(row));
    }
}

ReportBand& ReportSection::Band(const QString& name)
{
    for (ReportBand& b : bands_)
        if (b.name() == name) return b;
    Missing(QStringLiteral("Sezione"), name);
}

ReportObject& ReportSection::Object(const QString& name)
{
    for (ReportBand& b : bands_)
        for (ReportObject& o : b.objects())
            if (o.name() == name) return o;
    Missing(QStringLiteral("Oggetto"), name);
}

QVariant ReportSection::Value(const QString& field) const
{
    return current_ ? current_->value(field.toLower()) : QVariant();
}

void ReportSection::formatRow(std::size_t index, QPointF origin, const std::function<void(ReportBand&)>& onFormat,
                              FormattedPage& page)
{
    current_ = &rows_.at(index);
    for (ReportBand& band : bands_)
        onFormat(band);

    // Bands follow one another from the top; a hidden band leaves no gap. Bottom bands stack up
    // from the foot of the page. Where the bands need more than the page, the yielding bands give
    // up the height the others lack.
    double over = -pageSize().height();
    for (ReportBand& band : bands_) {
        band.setRoom(std::numeric_limits<double>::infinity());
        if (!band.Suppress) over += band.height();
    }
    for (ReportBand& band : bands_)
        if (over > 0 && band.def().yields && !band.Suppress) {
            const double keep = std::max(0.0, band.height() - over);
            over -= band.height() - keep;
            band.setRoom(keep);
        }
    double top = 0;
    double bottom = pageSize().height();
    for (auto it = bands_.rbegin(); it != bands_.rend(); ++it)
        if (it->def().bottom && !it->Suppress) {
            bottom -= it->height();
            addBand(*it, origin + QPointF(0, bottom), page);
        }
    for (const ReportBand& band : bands_)
        if (!band.def().bottom && !band.Suppress) {
            addBand(band, origin + QPointF(0, top), page);
            top += band.height();
        }
    current_ = nullptr;
}

void ReportSection::addBand(const ReportBand& band, QPointF topLeft, FormattedPage& page) const
{
    for (const ReportObject& o : band.objects()) {
        // A picture that gives way shrinks about the middle of its width; one without room is left out.
        const double scale = o.def().kind == ObjectKind::Picture ? band.pictureScale(o) : 1;
        if (o.Suppress || scale <= 0) continue;
        DrawItem item = itemFor(o, topLeft);
        if (scale < 1) {
            const QSizeF full = item.rect.size();
            item.rect = QRectF(item.rect.x() + full.width() * (1 - scale) / 2, item.rect.y(), full.width() * scale, full.height() * scale);
        }
        page.items.push_back(std::move(item));
    }
}

QString ReportSection::fieldText(const TemplateObject& def) const
{
    return Value(def.field).toString().mid(def.start, def.length).trimmed();
}

DrawItem ReportSection::itemFor(const ReportObject& o, QPointF topLeft) const
{
    const TemplateObject& def = o.def();
    DrawItem item;
    item.kind = def.kind;
    item.name = def.name;
    item.rect = def.rect.translated(topLeft);
    item.family = def.family;
    item.pointSize = o.fontSize();
    item.bold = def.bold;
    item.align = def.align;
    item.textSize = def.textSize;
    switch (def.kind) {
    case ObjectKind::Text:
        item.text = o.text();
        break;
    case ObjectKind::Field:
        item.text = fieldText(def);
        break;
    case ObjectKind::Picture:
        item.picture = o.picture();
        item.rect.setSize(o.pictureSizeMm());
        break;
    case ObjectKind::Barcode:
        item.fontString = Value(def.field).toString().toLatin1().toStdString();
        item.symbology = def.symbology.toStdString();
        if (!def.textField.isEmpty()) item.text = Value(def.textField).toString().trimmed();
        break;
    case ObjectKind::Line:
        break;
    }
    return item;
}
