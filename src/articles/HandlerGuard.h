#pragma once
// Handlers run from the event loop: a database error that reaches one is shown to the operator
// instead of travelling into Qt, which cannot carry it.

#include "core/db/AppError.h"

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
