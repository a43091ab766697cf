#include "reports/ReportTemplate.h"

#include "core/db/AppError.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <map>
#include <mutex>

static void InitTemplateResources() { Q_INIT_RESOURCE(reports); }

namespace {

[[noreturn]] void Fail(const QString& what)
{
    throw AppError(20520, QStringLiteral("Report"), QStringLiteral("Modello di stampa non valido: ") + what);
}

ObjectKind KindOf(const QString& type)
{
    if (type == u"text") return ObjectKind::Text;
    if (type == u"field") return ObjectKind::Field;
    if (type == u"picture") return ObjectKind::Picture;
    if (type == u"barcode") return ObjectKind::Barcode;
    if (type == u"line") return ObjectKind::Line;
    Fail(QStringLiteral("tipo di oggetto ") + type);
}

int AlignOf(const QString& align, const QString& valign)
{
    int h = Qt::AlignLeft;
    if (align == u"center") h = Qt::AlignHCenter;
    else if (align == u"right") h = Qt::AlignRight;
    return h | (valign == u"top" ? Qt::AlignTop : Qt::AlignVCenter);
}

TemplateObject ObjectOf(const QJsonObject& o)
{
    TemplateObject t;
    t.name = o.value(u"name").toString();
    t.kind = KindOf(o.value(u"type").toString());
    t.rect = QRectF(o.value(u"x").toDouble(), o.value(u"y").toDouble(), o.value(u"w").toDouble(), o.value(u"h").toDouble());
    t.text = o.value(u"text").toString();
    t.field = o.value(u"field").toString();
    t.start = o.value(u"start").toInt(0);
    t.length = o.value(u"length").toInt(-1);
    t.family = o.value(u"font").toString(t.family);
    t.size = o.value(u"size").toDouble(t.size);
    t.bold = o.value(u"bold").toBool(false);
    t.align = AlignOf(o.value(u"align").toString(), o.value(u"valign").toString());
    t.symbology = o.value(u"symbology").toString();
    t.textField = o.value(u"textField").toString();
    t.textSize = o.value(u"textSize").toDouble(t.textSize);
    if (t.name.isEmpty()) Fail(QStringLiteral("oggetto senza nome"));
    if ((t.kind == ObjectKind::Field || t.kind == ObjectKind::Barcode) && t.field.isEmpty())
        Fail(QStringLiteral("campo mancante in ") + t.name);
    return t;
}

} // namespace

ReportTemplate ParseTemplate(const QByteArray& json)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (!doc.isObject()) Fail(error.errorString());
    const QJsonObject root = doc.object();
    ReportTemplate t;
    t.name = root.value(u"name").toString();
    const QJsonObject paper = root.value(u"paper").toObject();
    t.paper = QSizeF(paper.value(u"width").toDouble(), paper.value(u"height").toDouble());
    t.landscape = root.value(u"orientation").toString() == u"landscape";
    if (t.paper.isEmpty()) Fail(QStringLiteral("formato della pagina"));
    for (const QJsonValue& b : root.value(u"bands").toArray()) {
        const QJsonObject bo = b.toObject();
        TemplateBand band{bo.value(u"name").toString(), bo.value(u"height").toDouble(), bo.value(u"anchor").toString() == u"bottom",
                          bo.value(u"yields").toBool(false), {}};
        for (const QJsonValue& o : bo.value(u"objects").toArray())
            band.objects.push_back(ObjectOf(o.toObject()));
        t.bands.push_back(std::move(band));
    }
    for (const QJsonValue& s : root.value(u"subreports").toArray()) {
        const QJsonObject so = s.toObject();
        t.subreports.push_back({so.value(u"name").toString(), so.value(u"template").toString(),
                                QPointF(so.value(u"x").toDouble(), so.value(u"y").toDouble())});
    }
    return t;
}

ReportTemplate LoadTemplate(const QString& name)
{
    // The built-in templates do not change while the program runs: each is read once.
    static std::mutex guard;
    static std::map<QString, ReportTemplate> read;
    const std::lock_guard lock(guard);
    if (const auto it = read.find(name); it != read.end()) return it->second;
    InitTemplateResources();
    QFile file(QStringLiteral(":/templates/%1.json").arg(name));
    if (!file.open(QIODevice::ReadOnly)) Fail(name);
    return read.emplace(name, ParseTemplate(file.readAll())).first->second;
}
