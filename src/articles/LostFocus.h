#pragma once
// Runs a handler each time a field loses the focus to another control of the program.

#include <functional>

class QWidget;

void OnLostFocus(QWidget* field, std::function<void()> handler);
