#include "passive/Avvisi.h"

#include "core/Globals.h"
#include "passive/RequestImport.h"
#include "passive/TrayIcon.h"


namespace {

// Requests named one by one in the message of a tick; the window of set-aside requests lists them all.
constexpr int kElencate = 3;

// The window made last takes the messages; an older one closing leaves them to it.
const Avvisi* installed = nullptr;

QString Riga(const RequestKey& key, const QString& reason) { return key.table + u' ' + QString::number(key.id) + QStringLiteral(": ") + reason; }

} // namespace

Avvisi::Avvisi(TrayIcon& tray) : tray_(tray)
{
    installed = this;
    SetUnattendedMessages([this](const ShownMessage& message) { return SenzaPersona(message); });
}

Avvisi::~Avvisi()
{
    if (installed != this) return;
    installed = nullptr;
    SetUnattendedMessages({});
}

void Avvisi::InizioRichiesta()
{
    inRichiesta_ = true;
    messaggiRichiesta_.clear();
}

QString Avvisi::FineRichiesta()
{
    inRichiesta_ = false;
    return messaggiRichiesta_.join(u'\n');
}

void Avvisi::Accantonata(const RequestKey& key, const QString& reason) { accantonate_ << Riga(key, reason); }

void Avvisi::Scartato(const QByteArray& file, const QString& reason)
{
    accantonate_ << QStringLiteral("File %1 spostato in %2: %3").arg(NomeMostrato(file), kCartellaScartati, reason);
}

void Avvisi::FineTick()
{
    if (accantonate_.empty()) return;
    if (accantonate_.size() == 1) {
        tray_.Tell(QStringLiteral("Richiesta accantonata"), accantonate_.front());
    } else {
        QStringList lines = accantonate_.mid(0, kElencate);
        if (accantonate_.size() > kElencate) lines << QStringLiteral("…");
        lines << QStringLiteral("Sono elencate in \"Richieste accantonate\" nel menu dell'icona.");
        tray_.Tell(QString::number(accantonate_.size()) + QStringLiteral(" richieste accantonate"), lines.join(u'\n'));
    }
    accantonate_.clear();
}

void Avvisi::Problema(const QString& topic, const QString& text)
{
    QString& told = problemi_[topic];
    if (told == text) return;
    told = text;
    tray_.Tell(kAppTitle, text);
}

void Avvisi::Risolto(const QString& topic) { problemi_.erase(topic); }

// The answer is the one of a box closed without a button: nothing is confirmed in anyone's name.
std::optional<int> Avvisi::SenzaPersona(const ShownMessage& message)
{
    if (inRichiesta_) {
        messaggiRichiesta_ << message.prompt;
        return UnansweredResult(message.buttons());
    }
    if (ModoInterattivo || persone_ > 0) return std::nullopt;
    Problema(kMessaggio, message.prompt);
    return UnansweredResult(message.buttons());
}
