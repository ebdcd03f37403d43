#include "platform/qt/Convert.h"

#include <QApplication>
#include <QFontDatabase>
#include <cmath>

namespace platform::qt {

namespace {
double pixelsPerTwip = 1.0 / 15.0;

QString FirstInstalled(std::initializer_list<const char*> families) {
    for (const char* f : families)
        if (QFontDatabase::hasFamily(QString::fromLatin1(f))) return QString::fromLatin1(f);
    return {};
}
}  // namespace

double PixelsPerTwip() { return pixelsPerTwip; }
void SetPixelsPerTwip(double ppt) { pixelsPerTwip = ppt > 0 ? ppt : 1.0 / 15.0; }
int Px(double twips) { return static_cast<int>(std::lround(twips * pixelsPerTwip)); }
int Twips(int pixels) { return static_cast<int>(std::lround(pixels / pixelsPerTwip)); }

QColor ToColor(std::int32_t bgr) {
    if (bgr < 0) return {};
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

QString ToQt(const std::string& s) {
    QString out = QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
    if (out.contains(QChar::ReplacementCharacter))
        return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
    return out;
}

std::string FromQt(const QString& s) { return s.toUtf8().toStdString(); }

QString ToQtLines(const std::string& s) {
    QString q = ToQt(s);
    q.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    q.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return q;
}

std::string FromQtLines(const QString& s) {
    QString q = s;
    q.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    q.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    return FromQt(q);
}

QString WithoutMnemonic(const QString& s) {
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == QLatin1Char('&') && i + 1 < s.size()) ++i;
        out += s[i];
    }
    return out;
}

QString LabelText(const std::string& caption) {
    const QString text = WithoutMnemonic(ToQtLines(caption));
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == QLatin1Char('-') && i + 1 < text.size() && !text[i + 1].isSpace())
            out += QChar(0x2060);   // word joiner: no line break here
    }
    return out;
}

QFont FixedFont(double points) {
    static const QString family = [] {
        QString f = FirstInstalled({"Courier New", "Liberation Mono"});
        return f.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::FixedFont).family() : f;
    }();
    QFont font(family);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    if (points > 0) font.setPointSizeF(points);
    return font;
}

QFont FontFor(const std::string& name, double points, bool bold, bool italic) {
    QFont font;
    if (name == "Courier New" || name == "Courier" || name == "Fixedsys" || name == "Lucida Console") {
        font = FixedFont(points);
    } else if (name == "Times New Roman" || name == "Times") {
        static const QString serif = FirstInstalled({"Times New Roman", "Liberation Serif"});
        font = serif.isEmpty() ? QFont() : QFont(serif);
        font.setStyleHint(QFont::Serif);
    } else if (name.empty() || name == "MS Sans Serif" || name == "Arial" || name == "Tahoma") {
        // Arial's widths are close to the ones the layouts were made for.
        static const QString sans = FirstInstalled({"Arial", "Liberation Sans"});
        font = sans.isEmpty() ? QApplication::font() : QFont(sans);
    } else {
        font = QFont(ToQt(name));
    }
    if (points > 0) font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

}  // namespace platform::qt
