#include "reports/ReportObjects.h"

#include "reports/Twips.h"

#include <algorithm>

void ReportObject::LoadPicture(const QString& path, int widthTwips, int heightTwips)
{
    if (!picture_.load(path)) {
        Suppress = true;
        return;
    }
    pictureMm_ = QSizeF(TwipsToMm(widthTwips), TwipsToMm(heightTwips));
}

QSizeF ReportObject::pictureSizeMm() const { return pictureMm_.value_or(def_->rect.size()); }

ReportBand::ReportBand(const TemplateBand& def) : def_(&def)
{
    objects_.reserve(def.objects.size());
    for (const TemplateObject& o : def.objects)
        objects_.emplace_back(o);
}

double ReportBand::naturalHeight() const
{
    double h = def_->height;
    for (const ReportObject& o : objects_)
        if (o.def().kind == ObjectKind::Picture && !o.Suppress)
            h = std::max(h, o.def().rect.y() + o.pictureSizeMm().height());
    return h;
}

double ReportBand::height() const { return std::min(naturalHeight(), std::max(0.0, room_)); }

double ReportBand::pictureScale(const ReportObject& o) const
{
    const double top = o.def().rect.y();
    const double h = o.pictureSizeMm().height();
    if (h <= 0 || top + h <= room_) return 1;
    return std::clamp((room_ - top) / h, 0.0, 1.0);
}
