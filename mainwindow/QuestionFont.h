#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The question font the next exam uses lives in the main window's font
// globals (gMain.gFontFace, gFontSize, gFontBold, gFontItalic); the launch
// record takes the face and the size.
struct QuestionFont {
    QString face;
    double size = 10.0; // points
    bool bold = false;
    bool italic = false;
};

// The stored choice, in section "Ziduver" of the settings store.
inline constexpr const char* kFontSection = "Ziduver";

// The font at each load of the main window: the face of
// SetupInfo/GeneralSettings/DefaultFontFace and 10 points, each replaced by
// what the font window stored (a stored size that is not a number above 0 is
// ignored), with the stored bold and italic.
QuestionFont questionFontAtLoad(const QString& defaultFace);
// The same into the font globals, the face the load set standing as the
// default.
void applyStoredQuestionFont();

// SetFontsSettings2Registry: stores the face text, the size text and the two
// switches ("True"/"False"), in this order, and sets the globals (the size to
// the text's numeric value, 0 when it has none). False when the settings
// could not be written; the globals change anyway.
bool SetFontsSettings2Registry(const QString& face, const QString& sizeText, bool bold, bool italic);

// The size as the font window shows it: "10", "10.5".
QString fontSizeText(double size);
// The numeric value of a size text, as far as it reads as a number ("12pt"
// reads 12, "" and "x" read 0).
double fontSizeValue(const QString& text);

// The font families to offer: the platform's families without the
// " [Foundry]" each may carry, each name once, in the platform's order.
QStringList fontFamilyNames(const QStringList& platformFamilies);
// The sizes to offer, as texts.
QStringList fontSizeNames(const QList<int>& standardSizes);
