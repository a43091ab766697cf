#pragma once
// Writes what one request file asks for: its articles into the article master, its headers with
// their lines and its carton requests into the request tables, inside the caller's transaction.

#include "passive/RequestFile.h"

class Database;

// Throws AppError when any row cannot be stored; the caller rolls back.
void StoreRequests(Database& db, const RequestFile& requests);
