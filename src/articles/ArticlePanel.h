#pragma once
// The article panel of the main window: its fields read as an article, and the highlight colour
// of the field groups the article check points at.

#include "articles/ArticleRecord.h"

#include <QColor>

namespace Ui {
class frmArticoli;
}

// Pink for the group in error, white for every other.
QColor ColoreCampo(int campo, int errato);

ArticoloCampi LeggiPannello(const Ui::frmArticoli& ui);
