#pragma once
// Logo headings: named bitmap pairs in a heading folder (N.bmp small, N2.bmp large), one of which
// is copied over LOGO.BMP and LOGO2.BMP of the data folder for the layouts to print. Files are
// found without regard to letter case; a missing or unreadable file is skipped without a word.

#include <QString>
#include <QStringList>

// A heading folder that is missing or holds no file gets the current logos as "Default".
void PrepareHeadingFolder(const QString& folder, const QString& dataFolder);

// The headings of the folder by name, large pictures (…2.bmp) left out.
QStringList HeadingNames(const QString& folder);

// Copies the heading's small picture over LOGO.BMP and, when it has one, its large picture over
// LOGO2.BMP; a heading without a large picture leaves LOGO2.BMP as it was.
void ApplyHeading(const QString& folder, const QString& name, const QString& dataFolder);
