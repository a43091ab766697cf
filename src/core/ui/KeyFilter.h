#pragma once
// Key filters of the edit fields: each typed character goes through a function that gets its code
// and the field's current text and returns the code to type instead, 0 to drop the key.
// Backspace (8), Enter (13) and Escape (27) reach the filter as their codes. Tab keeps moving the
// focus, and keys with Ctrl or Alt (copy, paste, menu mnemonics) are not typed characters.

#include <QString>

#include <functional>

class QLineEdit;

using KeyPressFilter = std::function<int(int keyAscii, const QString& currentText)>;

// The filter lives as long as the field.
void InstallKeyFilter(QLineEdit* field, KeyPressFilter filter);

// For filters that only choose characters: text pasted or dropped into the field goes through the
// filter too, character by character as if typed, so it holds nothing the keys could not type.
// Text the program sets is shown as it is.
void InstallCharacterFilter(QLineEdit* field, const KeyPressFilter& filter);

// Digits "0" to "9" and Backspace pass; everything else is dropped.
int DigitKey(int keyAscii, const QString& currentText = QString());
// A letter becomes its upper-case form.
int UpperCaseKey(int keyAscii, const QString& currentText = QString());
