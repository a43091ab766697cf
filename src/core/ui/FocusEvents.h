#pragma once
// Handlers of a field's focus: on leaving it for another control, on entering it, and on Tab.

#include <functional>

class QWidget;

// Switching to another application or opening a menu does not count as leaving the field.
void OnLostFocus(QWidget* field, std::function<void()> handler);

// Runs after the focus event, so the click that gave the focus does not move the cursor again.
void OnGotFocus(QWidget* field, std::function<void()> handler);

// Runs when Tab or Shift+Tab is pressed in the field, before the key moves the focus on as usual.
void OnTabKey(QWidget* field, std::function<void()> handler);
