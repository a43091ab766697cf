#pragma once

// Draws barcode-font strings (from EncodeBarcode) as modules, the way the barcode fonts would.
#include <string>

// Modules "1" dark and "0" light from the first bar to the last, without quiet zones; POSTNET gives two
// rows joined by "\n", the tall bars and then every bar. "" when the symbology's font cannot draw the string.
std::string BarcodeModules(const std::string& fontString, const std::string& symbology);

// The text the font draws beside the bars: the leading digit of EAN-13 and UPC-E, the readable line of
// C32HRC; "" for the others.
std::string BarcodeHumanReadable(const std::string& fontString, const std::string& symbology);

// Light modules needed on each side of the bars (the wider side where the two differ); 0 when unknown.
int BarcodeQuietZone(const std::string& symbology);
