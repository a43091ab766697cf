#pragma once

// Barcode-font strings: each character (code 0 to 255) is a glyph of the barcode font of its symbology.
#include <string>

// The one entry: validates data for the symbology keyword, adds check characters when asked, encodes.
// Returns "" for invalid data or an unknown keyword.
std::string EncodeBarcode(const std::string& data, const std::string& symbology, bool addCheck);

// Dispatcher helpers.
bool ValidateBarcodeData(std::string& data, const std::string& keyword, bool addCheck);
std::string BarcodePadLeft(const std::string& s, int width, const std::string& padChar);
bool IsAllDigits(const std::string& s);

// Code 128 and GS1-128. Data may hold backslash escapes; 128 is NUL, 129 FNC1, 130 FNC2, 131 FNC3, 132 FNC4.
std::string EncodeCode128(const std::string& data);
std::string EncodeGs1128(const std::string& data);
int ChooseCode128Start(const std::string& s);
// Decodes the character at the 1-based pos and moves pos past it; "" for an escape that stands for nothing.
std::string NextEscapedChar(const std::string& data, int& pos);
int ParseNumberInBase(const std::string& digits, int base);
std::string SwapGs1128Glyphs(const std::string& s);

// EAN and UPC.
std::string EncodeEan13(const std::string& data);
std::string EncodeEan8(const std::string& data);
std::string EncodeUpcA(const std::string& data);
std::string EncodeUpcE(const std::string& data);
std::string EncodeAddOn2(const std::string& data);
std::string EncodeAddOn5(const std::string& data);
std::string EanUpcCheckDigit(const std::string& data);
std::string UpcECheckDigit(const std::string& data);

// Code 39, Code 93 and Code 32.
std::string Code39CheckChar(const std::string& data);
std::string Code93CheckChars(const std::string& data);
std::string EncodeCode39Full(const std::string& data, bool addCheck);
std::string EncodeCode93Full(const std::string& data, bool addCheck);
std::string Code32CheckDigit(const std::string& data);
std::string EncodeCode32(const std::string& data);

// The other linear symbologies: check procedures return the data with their check characters.
std::string PostnetCheckDigit(const std::string& data);
std::string CipCheckDigit(const std::string& data);
std::string PlesseyCheckChars(const std::string& data);
std::string DeltaCheckDigit(const std::string& data);
std::string Interleaved25CheckDigit(const std::string& data);
std::string TwoOfFiveCheckDigit(const std::string& data);
std::string Code11CheckChars(const std::string& data);
std::string MsiCheckDigit(const std::string& data, int mode);
std::string CodabarCheckChar(const std::string& data);
std::string EncodeDelta(const std::string& data);
std::string EncodeInterleaved25(const std::string& data);
std::string EncodeCodabar(const std::string& data);
