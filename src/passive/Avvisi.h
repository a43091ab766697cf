#pragma once
// What passive mode tells with nobody there to answer. A message box a print handler would show
// becomes the reason of the request being printed, and the requests set aside in a tick are told
// together at its end; any other message goes beside the tray icon; a problem that lasts (the
// database busy or full, the request folder not writable) is told once, until it has passed.
// Nothing waits for a person.

#include "core/ui/Dialogs.h"
#include "labels/PrintTransaction.h"

#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <utility>

class TrayIcon;

class Avvisi {
public:
    // Takes the messages shown while ModoInterattivo is off, for as long as it lives.
    explicit Avvisi(TrayIcon& tray);
    ~Avvisi();
    Avvisi(const Avvisi&) = delete;
    Avvisi& operator=(const Avvisi&) = delete;

    // From here to FineRichiesta every message shown is a reason of the request being printed.
    void InizioRichiesta();
    // The messages shown since InizioRichiesta, one a line; "" when none.
    QString FineRichiesta();

    void Accantonata(const RequestKey& key, const QString& reason);
    // A request file moved among the refused files, told with the requests set aside.
    void Scartato(const QByteArray& file, const QString& reason);
    // Tells the requests set aside since the last call, in one message.
    void FineTick();

    // Told when it differs from what was last told of `topic`.
    void Problema(const QString& topic, const QString& text);
    // The problem has passed: its next occurrence is told again.
    void Risolto(const QString& topic);
    // Where a message shown outside a request is told.
    static inline const QString kMessaggio = QStringLiteral("messaggio");

    // While one lives, messages show as message boxes again, to a person at a window who answers;
    // also in the middle of a request, whose print handlers let the window's events through. A
    // request started meanwhile takes its messages as usual.
    class PersonaPresente {
    public:
        explicit PersonaPresente(Avvisi& avvisi) : avvisi_(avvisi), inRichiesta_(std::exchange(avvisi.inRichiesta_, false))
        {
            ++avvisi_.persone_;
        }
        ~PersonaPresente()
        {
            --avvisi_.persone_;
            avvisi_.inRichiesta_ = inRichiesta_;
        }
        PersonaPresente(const PersonaPresente&) = delete;
        PersonaPresente& operator=(const PersonaPresente&) = delete;

    private:
        Avvisi& avvisi_;
        bool inRichiesta_;
    };

private:
    std::optional<int> SenzaPersona(const ShownMessage& message);

    TrayIcon& tray_;
    bool inRichiesta_ = false;
    QStringList messaggiRichiesta_;
    QStringList accantonate_; // one line each
    std::map<QString, QString> problemi_;
    int persone_ = 0;
};
