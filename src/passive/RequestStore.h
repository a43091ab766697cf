#pragma once
// Writes what one request file asks for: its articles into the article master, its headers with
// their lines and its carton requests into the request tables, all in one transaction.

#include "passive/RequestFile.h"

class Database;

// Throws AppError, having written nothing, when any row cannot be stored.
void StoreRequests(Database& db, const RequestFile& requests);
