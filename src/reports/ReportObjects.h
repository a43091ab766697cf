#pragma once
// The objects of one layout as a print job changes them: each starts as its template says; band
// handlers hide objects and bands, put texts in, set font sizes and load pictures.

#include "reports/ReportTemplate.h"

#include <QImage>
#include <QSizeF>
#include <QString>

#include <limits>
#include <optional>
#include <vector>

class ReportObject {
public:
    explicit ReportObject(const TemplateObject& def) : def_(&def), fontSize_(def.size) {}

    const TemplateObject& def() const { return *def_; }
    const QString& name() const { return def_->name; }

    bool Suppress = false;

    double fontSize() const { return fontSize_; }
    // Whole points.
    void SetFontSize(int points) { fontSize_ = points; }

    // Text objects: the caption shown instead of the template's text.
    void SetText(const QString& text) { text_ = text; }
    QString text() const { return text_.value_or(def_->text); }

    // Picture objects: a bitmap file, drawn at the size given in twips; hides the picture when the
    // file cannot be read.
    void LoadPicture(const QString& path, int widthTwips, int heightTwips);
    const QImage& picture() const { return picture_; }
    // The picture's size in mm, or the template's box when none was loaded.
    QSizeF pictureSizeMm() const;

private:
    const TemplateObject* def_;
    double fontSize_;
    std::optional<QString> text_;
    QImage picture_;
    std::optional<QSizeF> pictureMm_;
};

class ReportBand {
public:
    explicit ReportBand(const TemplateBand& def);
    const TemplateBand& def() const { return *def_; }
    const QString& name() const { return def_->name; }
    bool Suppress = false;
    std::vector<ReportObject>& objects() { return objects_; }
    const std::vector<ReportObject>& objects() const { return objects_; }
    // Height in mm: the template's, grown to hold a larger picture, and no more than its room.
    double height() const;
    // The height a yielding band may take on the page being laid out; unlimited by default.
    void setRoom(double mm) { room_ = mm; }
    // The share of its size picture `o` keeps: 1, less when the band has not the room for it
    // (the picture shrinks whole, keeping its proportions), 0 when nothing of it fits.
    double pictureScale(const ReportObject& o) const;

private:
    double naturalHeight() const;

    const TemplateBand* def_;
    std::vector<ReportObject> objects_;
    double room_ = std::numeric_limits<double>::infinity();
};
