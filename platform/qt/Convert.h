// Conversions between the platform layer's units and Qt's: twips and pixels,
// BGR colours, fonts, texts and their line ends.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <cstdint>
#include <string>

namespace platform::qt {

// Pixels per twip: 1/15 at 96 dpi, scaled by the screen's logical DPI.
double PixelsPerTwip();
void SetPixelsPerTwip(double ppt);
int Px(double twips);
int Twips(int pixels);

// A BGR value (&HBBGGRR); negative values are the default colour.
QColor ToColor(std::int32_t bgr);

// UTF-8 when valid, else Latin-1.
QString ToQt(const std::string& s);
std::string FromQt(const QString& s);
// The same, with CR LF (and a lone CR) shown as a line break, and back.
QString ToQtLines(const std::string& s);
std::string FromQtLines(const QString& s);
// "&Name" -> "Name", "&&" -> "&" (for widgets that do not take mnemonics).
QString WithoutMnemonic(const QString& s);
// A label's caption as shown: line ends as breaks, no mnemonic, and a
// hyphen kept with what follows it ("-ln[L]"): a label wraps at blanks only.
QString LabelText(const std::string& caption);

// Courier New where installed, else Liberation Mono, else the system's
// fixed font.
QFont FixedFont(double points);
QFont FontFor(const std::string& name, double points, bool bold, bool italic);

}  // namespace platform::qt
