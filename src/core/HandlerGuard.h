#pragma once
// Handlers run from the event loop: an error that reaches one is shown to the operator instead of
// travelling into Qt, which cannot carry it.

#include "core/db/AppError.h"

// "Errore: " and the failure's description, as the engine's errors are shown.
void MostraErrore(const AppError& error);

template <class Handler>
auto Protetto(Handler handler)
{
    return [handler] {
        try {
            handler();
        } catch (const AppError& error) {
            MostraErrore(error);
        }
    };
}
