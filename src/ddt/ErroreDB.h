#pragma once
// How the delivery-note and archive commands report a failure they could not complete.

class AppError;

// The engine's own errors when it has any, otherwise the failure's description.
void MostraErroreDB(const AppError& e);
